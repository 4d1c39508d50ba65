#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <vector>

namespace dez::trelix {

// One reading of a token.
class MorphData {
public:
    MorphData(const std::string& pos, const std::string& stem, double weight);

    // Keeps `pos_id` in step with `pos`.
    void set_pos(const std::string& pos);

    std::string pos;
    std::string stem;
    std::vector<std::string> tags;
    // Readings of the parts of a compound, first part first.
    std::list<MorphData> components;
    double weight;
    uint32_t pos_id;
};

} // namespace dez::trelix
