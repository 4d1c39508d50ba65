#include "document/morph_data.h"

#include "foundation/pos_table.h"

namespace dez::trelix {

MorphData::MorphData(const std::string& pos, const std::string& stem, double weight)
    : pos(pos), stem(stem), weight(weight), pos_id(dez::language::pos_table::id(pos)) {}

void MorphData::set_pos(const std::string& new_pos) {
    pos = new_pos;
    pos_id = dez::language::pos_table::id(pos);
}

} // namespace dez::trelix
