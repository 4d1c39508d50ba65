#include "analysis/language_blocks.h"

#include <algorithm>

const std::vector<LanguageBlock> language_blocks = {
    {0x0370, 0x03FF, "EL", "Greek and Coptic"},
    {0xA8E0, 0xA8FF, "HI", "Devanagari Extended"},
    {0x0A80, 0x0AFF, "HI", "Gujarati"},
    {0xA980, 0xA9DF, "JV", "Javanese"},
    {0xAA80, 0xAADF, "TH", "Tai Viet"},
    {0xAC00, 0xD7AF, "KO", "Hangul Syllables"},
    {0x0B80, 0x0BFF, "TA", "Tamil"},
    {0x0C00, 0x0C7F, "TE", "Telugu"},
    {0x0C80, 0x0CFF, "TE", "Kannada"},
    {0x0D00, 0x0D7F, "ML", "Malayalam"},
    {0x0E00, 0x0E7F, "TH", "Thai"},
    {0x0E80, 0x0EFF, "LO", "Lao"},
    {0x0F00, 0x0FFF, "BO", "Tibetan"},
    {0xFB50, 0xFDFF, "AR", "Arabic Presentation Forms-A"},
    {0xFE70, 0xFEFF, "AR", "Arabic Presentation Forms-B"},
    {0xFF00, 0xFFEF, "JA", "Halfwidth and Fullwidth Forms"},
    {0x1A20, 0x1AAF, "TH", "Tai Tham"},
    {0x1B00, 0x1B7F, "IN", "Balinese"},
    {0x1B000, 0x1B0FF, "JA", "Kana Supplement"},
    {0x1B80, 0x1BBF, "", "Sundanese"},
    {0x1B100, 0x1B12F, "", "Kana Extended-A"},
    {0x1B130, 0x1B16F, "", "Small Kana Extension"},
    {0x1B170, 0x1B2FF, "", "Nushu"},
    {0x1BC0, 0x1BFF, "", "Batak"},
    {0x1BC00, 0x1BC9F, "", "Duployan"},
    {0x1BCA0, 0x1BCAF, "", "Shorthand Format Controls"},
    {0x1C00, 0x1C4F, "", "Lepcha"},
    {0x1C50, 0x1C7F, "", "Ol Chiki"},
    {0x1C80, 0x1C8F, "", "Cyrillic Extended-C"},
    {0x1C90, 0x1CBF, "", "Georgian Extended"},
    {0x1CC0, 0x1CCF, "IN", "Sundanese Supplement"},
    {0x1F00, 0x1FFF, "EL", "Greek Extended"},
    {0x2A700, 0x2B73F, "ZH", "CJK Unified Ideographs Extension C"},
    {0x2B740, 0x2B81F, "ZH", "CJK Unified Ideographs Extension D"},
    {0x2B820, 0x2CEAF, "ZH", "CJK Unified Ideographs Extension E"},
    {0x2CEB0, 0x2EBEF, "ZH", "CJK Unified Ideographs Extension F"},
    {0x2D00, 0x2D2F, "KA", "Georgian Supplement"},
    {0x2E80, 0x2EFF, "ZH", "CJK Radicals Supplement"},
    {0x2F00, 0x2FDF, "ZH", "Kangxi Radicals"},
    {0x2F800, 0x2FA1F, "ZH", "CJK Compatibility Ideographs Supplement"},
    {0x4E00, 0x9FFF, "ZH", "CJK Unified Ideographs"},
    {0x08A0, 0x08FF, "AR", "Arabic Extended-A"},
    {0x10A0, 0x10FF, "KA", "Georgian"},
    {0x10A60, 0x10A7F, "AR", "Old South Arabian"},
    {0x10A80, 0x10A9F, "AR", "Old North Arabian"},
    {0x11FC0, 0x11FFF, "TA", "Tamil Supplement"},
    {0x30A0, 0x30FF, "JA", "Katakana"},
    {0x31C0, 0x31EF, "ZH", "CJK Strokes"},
    {0x31F0, 0x31FF, "JA", "Katakana Phonetic Extensions"},
    {0x0530, 0x058F, "HY", "Armenian"},
    {0x0590, 0x05FF, "HE", "Hebrew"},
    {0x0600, 0x06FF, "AR", "Arabic"},
    {0x0750, 0x077F, "AR", "Arabic Supplement"},
    {0x0780, 0x07BF, "AR", "Thaana"},
    {0x0800, 0x083F, "HE", "Samaritan"},
    {0x0900, 0x097F, "HI", "Devanagari"},
    {0x0980, 0x09FF, "BN", "Bengali"},
    {0x1000, 0x109F, "MY", "Myanmar"},
    {0x1100, 0x11FF, "KO", "Hangul Jamo"},
    {0x1200, 0x137F, "AM", "Ethiopic"},
    {0x1700, 0x171F, "TL", "Tagalog"},
    {0x1720, 0x173F, "TL", "Hanunoo"},
    {0x1740, 0x175F, "TL", "Buhid"},
    {0x1760, 0x177F, "TL", "Tagbanwa"},
    {0x1780, 0x17FF, "KM", "Khmer"},
    {0x1800, 0x18AF, "MN", "Mongolian"},
    {0x1900, 0x194F, "BO", "Limbu"},
    {0x1950, 0x197F, "TH", "Tai Le"},
    {0x1980, 0x19DF, "TH", "New Tai Lue"},
    {0x3040, 0x309F, "JA", "Hiragana"},
    {0x3100, 0x312F, "ZH", "Bopomofo"},
    {0x3130, 0x318F, "KO", "Hangul Compatibility Jamo"},
    {0x3190, 0x319F, "ZH", "Kanbun"},
    {0x3300, 0x33FF, "JA", "CJK Compatibility"},
    {0x3400, 0x4DBF, "ZH", "CJK Unified Ideographs Extension A"},
};

namespace dez::lid {

namespace {

// The rows by first code point, for a binary search: the block scan runs
// over every character of every unknown word.
const std::vector<const LanguageBlock*>& blocks_by_start() {
    static const std::vector<const LanguageBlock*> sorted = [] {
        std::vector<const LanguageBlock*> rows;
        for (const LanguageBlock& row : language_blocks)
            rows.push_back(&row);
        std::sort(rows.begin(), rows.end(), [](const LanguageBlock* a, const LanguageBlock* b) {
            return std::get<0>(*a) < std::get<0>(*b);
        });
        return rows;
    }();
    return sorted;
}

} // namespace

const LanguageBlock* find_language_block(uint32_t code_point) {
    // Latin, the Latin extensions and the combining marks lie below the first row.
    if (code_point < 0x0370)
        return nullptr;
    const auto& rows = blocks_by_start();
    auto after = std::upper_bound(
        rows.begin(), rows.end(), uint64_t(code_point),
        [](uint64_t value, const LanguageBlock* row) { return value < std::get<0>(*row); });
    if (after == rows.begin())
        return nullptr;
    const LanguageBlock* row = *(after - 1);
    return code_point <= std::get<1>(*row) ? row : nullptr;
}

} // namespace dez::lid
