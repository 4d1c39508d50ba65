#include "foundation/unicode_normalizer.h"

#include <iostream>

namespace dez::string {

namespace {

void report_failure(const char* what, UErrorCode status) {
    std::cerr << "Could not init " << what << " 0x" << std::hex << static_cast<int>(status)
              << std::dec << std::endl;
}

} // namespace

const UNormalizer2* init_decomposer() {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* instance = unorm2_getNFKDInstance(&status);
    if (U_FAILURE(status))
        report_failure("unorm2_getNFKDInstance", status);
    return instance;
}

const icu::Normalizer2* init_composer() {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* instance = icu::Normalizer2::getNFKCInstance(status);
    if (U_FAILURE(status))
        report_failure("unorm2_getNFKCInstance", status);
    return instance;
}

const UNormalizer2* decomposer = nullptr;
const icu::Normalizer2* composer = nullptr;

namespace {

struct NormalizerStartup {
    NormalizerStartup() {
        decomposer = init_decomposer();
        composer = init_composer();
    }
};

// Run ahead of the default priority so that static initialisers in other
// files of the library may already use the conversions.
__attribute__((init_priority(200))) const NormalizerStartup normalizer_startup;

} // namespace

__attribute__((init_priority(200))) const std::map<uint32_t, uint32_t> dez_convert = {
    {0x0141, 0x006C},
    {0x0142, 0x006C},
};

const icu::Normalizer2* get_composer() {
    return composer;
}

icu::UnicodeString compose(const icu::UnicodeString& s) {
    if (composer == nullptr)
        return s;
    UErrorCode status = U_ZERO_ERROR;
    return composer->normalize(s, status);
}

bool is_decomposed(char16_t unit) {
    return unit >= 0x0300 && unit <= 0x036F;
}

bool is_decomposed(const icu::UnicodeString& s) {
    for (int32_t i = 0; i < s.length(); ++i)
        if (is_decomposed(s.charAt(i)))
            return true;
    return false;
}

} // namespace dez::string
