#include "analysis/charmap.h"

namespace dez::trelix {

const CharMap charmap = {
    {u'\u2018', u'\''},
    {u'\u2019', u'\''},
    {u'\u2013', u'-'},
};
// Defined after the map in this file, so the map is built first.
const CharMap::const_iterator charmap_end = charmap.end();

} // namespace dez::trelix
