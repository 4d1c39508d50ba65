// Identifies every held-out line with the generated lid.fst and prints the
// share identified correctly, per language and over all lines.
//
//   lid_accuracy <lid data folder>      (holds lid.fst and heldout.tsv)

#include "tools/lid/heldout_set.h"

#include "analysis/lid.h"
#include "engine/engine.h"
#include "foundation/options.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <map>
#include <memory>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: lid_accuracy <lid data folder> [code to list misses of]\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string listed = argc > 2 ? argv[2] : "";
    try {
        nlohmann::json engine_options = {{"root_path", folder}, {"morfex", folder}};
        auto engine = std::make_shared<dez::trelix::Engine>(
            std::make_shared<dez::Options>(engine_options.dump().c_str()));
        dez::trelix::Lid lid(engine.get(),
                             std::make_shared<dez::Options>("{\"long_names\":\"false\"}"));

        std::map<std::string, std::pair<int, int>> tally; // code -> (right, all)
        std::map<std::string, int> confusions;
        for (const auto& line : trelix_tools::read_heldout_set(folder + "/heldout.tsv")) {
            const std::string found = lid.lid(line.text.data(), line.text.size());
            auto& [right, all] = tally[line.code];
            ++all;
            if (found == line.code) {
                ++right;
                continue;
            }
            ++confusions[line.code + "->" + found];
            if (line.code == listed)
                std::cout << "  " << found << ": " << line.text << '\n';
        }
        int right_total = 0;
        int all_total = 0;
        for (const auto& [code, counts] : tally) {
            std::printf("%s %5.1f%% (%d/%d)\n", code.c_str(), 100.0 * counts.first / counts.second,
                        counts.first, counts.second);
            right_total += counts.first;
            all_total += counts.second;
        }
        std::printf("all %5.1f%% (%d/%d) over %zu languages\n", 100.0 * right_total / all_total,
                    right_total, all_total, tally.size());
        for (const auto& [pair, count] : confusions)
            if (count >= 5)
                std::printf("  %s %d\n", pair.c_str(), count);
    } catch (const std::exception& e) {
        std::cerr << "lid_accuracy: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
