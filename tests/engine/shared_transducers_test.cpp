#include <gtest/gtest.h>

#include <fst/vector-fst.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core-afst/afst.h"
#include "core-afst/word_lookup.h"
#include "engine/engine.h"
#include "engine/load_afst.h"
#include "engine/write_time.h"
#include "foundation/exception.h"
#include "foundation/logger.h"
#include "tests/core-afst/lexicon_fixture.h"
#include "tests/engine/engine_fixture.h"

namespace dez::trelix {
namespace {

using namespace fixture;

std::string bytes_of(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SharedTransducers : public EngineFixture {
protected:
    // Writes a lexicon of "word:reading" lines to the file.
    static void write_lexicon(const fs::path& file, const std::vector<std::string>& lines) {
        ASSERT_TRUE(afst_test::build_lexicon(lines)->Write(file.string()));
    }
    static std::vector<std::string> readings(const std::shared_ptr<dez::afst::AFst>& afst,
                                             const std::string& word) {
        return dez::afst::WordLookup(afst, nullptr).up(word);
    }
    std::string failure(const std::string& file) const {
        return failure_of([&] { engine->get_afst(file); });
    }

    std::shared_ptr<Engine> engine = bare_engine(tree.root);
};

TEST_F(SharedTransducers, OneObjectPerFile) {
    const fs::path file = tree.root / "english.morph";
    write_lexicon(file, {"walk:walk[+V]"});
    auto first = engine->get_afst(file.string());
    auto second = engine->get_afst(file.string());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->timestamp, write_time_in_seconds(file.string()));
    EXPECT_EQ(readings(first, "walk"), (std::vector<std::string>{"walk+V"}));
    EXPECT_EQ(count_logged("[afst] load" + file.string()), 1u);
    // Another spelling of the same file is another entry.
    EXPECT_NE(engine->get_afst((tree.root / "." / "english.morph").string()), first);
}

TEST_F(SharedTransducers, ANewerFileIsReadAgain) {
    const fs::path file = tree.root / "english.morph";
    write_lexicon(file, {"walk:walk[+V]"});
    auto old = engine->get_afst(file.string());

    write_lexicon(file, {"talk:talk[+V]"});
    age(file, 10);
    auto fresh = engine->get_afst(file.string());
    EXPECT_NE(fresh, old);
    EXPECT_EQ(engine->get_afst(file.string()), fresh);
    EXPECT_EQ(fresh->timestamp, write_time_in_seconds(file.string()));
    EXPECT_EQ(readings(fresh, "talk"), (std::vector<std::string>{"talk+V"}));
    EXPECT_TRUE(readings(fresh, "walk").empty());
    // Holders of the earlier transducer keep it.
    EXPECT_EQ(readings(old, "walk"), (std::vector<std::string>{"walk+V"}));

    // A deleted file keeps the cached transducer in service.
    fs::remove(file);
    EXPECT_EQ(engine->get_afst(file.string()), fresh);
}

TEST_F(SharedTransducers, FilesThatHoldNoTransducerAreRefusedAndNotCached) {
    const fs::path garbage = tree.file("garbage.morph", "not a transducer");
    const fs::path empty = tree.file("empty.morph");
    const fs::path bare = tree.root / "bare.morph";
    {
        fst::StdVectorFst network;
        network.SetStart(network.AddState());
        network.SetFinal(0, fst::TropicalWeight::One());
        ASSERT_TRUE(network.Write(bare.string()));
    }
    // A lexicon file spoilt after writing: OpenFst would believe its counts.
    const fs::path lexicon = tree.root / "lexicon.morph";
    write_lexicon(lexicon, {"walk:walk[+V]", "talk:talk[+V]"});
    const std::string good = bytes_of(lexicon);
    const fs::path truncated = tree.file("truncated.morph", good.substr(0, good.size() - 1));
    // The state count follows the magic number, the type and arc type texts,
    // the version, the flags, the properties and the start.
    std::string spoilt = good;
    const int64_t huge = int64_t(1) << 40;
    spoilt.replace(4 + (4 + 6) + (4 + 8) + 4 + 4 + 8 + 8, sizeof huge,
                   reinterpret_cast<const char*>(&huge), sizeof huge);
    const fs::path too_many = tree.file("too_many_states.morph", spoilt);

    ::testing::internal::CaptureStderr();
    for (const fs::path& file : {garbage, empty, bare, truncated, too_many}) {
        SCOPED_TRACE(file.filename().string());
        EXPECT_EQ(failure(file.string()),
                  "Invalid/Corrupt morph file:(get_fst)[" + file.string() + "]");
        EXPECT_EQ(engine->afsts.count(file.string()), 0u);
    }
    ::testing::internal::GetCapturedStderr();
    // Once the file is good, the next request loads it.
    write_lexicon(garbage, {"walk:walk[+V]"});
    EXPECT_NE(engine->get_afst(garbage.string()), nullptr);
}

TEST_F(SharedTransducers, MissingFilesAndFolders) {
    for (const fs::path& name : {tree.root / "missing.morph", tree.folder("folder.morph")}) {
        SCOPED_TRACE(name.string());
        EXPECT_EQ(failure(name.string()),
                  "morph file not found :(get_afst)[" + name.string() + "]");
        EXPECT_TRUE(engine->afsts.empty());
    }
    EXPECT_THROW(load_afst(""), dez::Exception);
}

TEST_F(SharedTransducers, AFailedReloadKeepsTheCachedTransducer) {
    const fs::path file = tree.root / "english.morph";
    write_lexicon(file, {"walk:walk[+V]"});
    auto loaded = engine->get_afst(file.string());
    tree.file("english.morph", "broken");
    age(file, 10);
    EXPECT_EQ(failure(file.string()),
              "Invalid/Corrupt morph file:(get_fst)[" + file.string() + "]");
    EXPECT_EQ(engine->afsts.at(file.string()), loaded);
}

} // namespace
} // namespace dez::trelix
