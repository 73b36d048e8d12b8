// A bounded, deterministic fuzzing session over the model stream reader for
// the regular test run: well-formed books of every layout, then thousands of
// mutations of them, truncations and random bytes.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "../fuzz/smoke_run.h"
#include "model/CAccountOwner.h"
#include "model/CBank.h"
#include "model/CHierarchyRoot.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "../fuzz/model_stream_check.h"
#include "model_test_support.h"

namespace ch {
namespace {

std::string AsText(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Books of the current version and hand-made files of older layouts.
std::vector<std::string> Seeds()
{
    std::vector<std::string> seeds;
    {
        CDocAccounting root;
        root.mPreference = new CPreference(&root, 1);
        for (int i = 0; i < 3; ++i) {
            CAccountOwner* owner = root.InsertAccountOwner(0, "Owner", "First", "Street", "1", "2", "m@x.test", "BE");
            owner->Put_mCFAddressbookId("UID");
            auto* bank = new CBank(&root);
            bank->Import("Bank", "plugin", "address", "phone", "fax", "mail", "vat");
            root.mBankList->AppendObject(bank);
        }
        root.Get_AccountRoot()->Put_mb_IsOpen(true);
        seeds.push_back(AsText(fuzz::SaveBooks(root)));
    }
    {
        // The default books: every record kind of the chart (types, groups,
        // categories, currencies, accounts) in one seed.
        CDocAccounting root;
        root.SetDefaults("EUR");
        seeds.push_back(AsText(fuzz::SaveBooks(root)));
    }
    for (FourCharCode v : {version::k0_60, version::k1_05, version::k1_10}) {
        test::StreamWriter w;
        test::WriteSettingsRecord(w.stream(), v);
        w->WriteBigOsType(type::kAccountOwner);
        w->WriteObjectIdT(9);
        w->WriteCString("Owner");
        w->WriteEnumT(0);
        if (version::AtLeast(v, version::k1_01)) w->WriteEnumT(1);
        if (version::AtLeast(v, version::k1_10)) {
            w->WriteCFString("Owner");
            w->WriteCFString("");
            for (int i = 0; i < 4; ++i) w->WriteObjectIdT(i);
            for (int i = 0; i < 10; ++i) w->WriteCFString("text");
        } else {
            for (int i = 0; i < 6; ++i) w->WriteCString("text");
            for (int i = 0; i < 4; ++i) w->WriteObjectIdT(i);
        }
        w->WriteBigOsType(type::kEndOfModel);
        seeds.push_back(AsText(w.bytes()));
    }
    return seeds;
}

TEST(ModelStreamFuzzSmoke, RandomAndDamagedBytesAreRefusedOrReadConsistently)
{
    test::ModelEnvironment environment;
    const std::vector<std::string> seeds = Seeds();
    std::mt19937 random(20240915);
    std::vector<std::string> failures;
    auto run = [&](const std::string& input) {
        std::string problem = fuzz::checkModelStream(input);
        if (!problem.empty() && failures.size() < 10) failures.push_back(problem + " [" + fuzz::hexPrefix(input) + "]");
    };

    for (const std::string& seed : seeds) {
        EXPECT_EQ(fuzz::checkModelStream(seed), "");
        for (std::size_t size = 0; size < seed.size(); size += 3) run(seed.substr(0, size));
    }
    for (int i = 0; i < 3000; ++i) run(fuzz::mutate(seeds, random));
    for (int i = 0; i < 300; ++i) {
        std::string noise(random() % 400, '\0');
        for (char& c : noise) c = static_cast<char>(random());
        if (i % 2 == 0 && noise.size() > 8) noise.replace(random() % (noise.size() - 4), 4, "PrFr");
        run(noise);
    }
    EXPECT_TRUE(failures.empty()) << failures.front();
}

} // namespace
} // namespace ch
