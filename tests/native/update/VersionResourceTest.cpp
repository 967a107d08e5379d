#include "update/Version.h"
#include "update/VersionResource.h"

#include <gtest/gtest.h>

#include <vector>

using VersionResource::Translation;

TEST(VersionResource, TranslationIsChosenByTheFirstRuleThatMatches)
{
    const struct
    {
        std::vector<Translation> entries;
        std::uint16_t user;
        std::optional<std::size_t> chosen;
    } cases[] = {
        {{{0x0C0C, 0x04B0}, {0x0409, 0x04B0}}, 0x0409, 1},             // the whole language
        {{{0x0C0C, 0x04B0}, {0x0409, 0x04B0}}, 0x0809, 1},             // the primary language
        {{{0x0000, 0x04B0}}, 0x0407, 0},                               // language neutral
        {{{0x040C, 0x04E4}, {0x0007, 0x04B0}}, 0x0419, 0},             // none: the first
        {{{0x040C, 0x04E4}, {0x0400, 0x04B0}, {0x0000, 0x04E4}}, 0x0419, 2}, // 0 before primary 0
        {{{0x040C, 0x04E4}, {0x0400, 0x04B0}}, 0x0419, 1},             // primary 0
        {{{0x040C, 0x04E4}, {0x0809, 0x04B0}, {0x0009, 0x04B0}}, 0x0419, 2}, // English before UK English
        {{{0x040C, 0x04E4}, {0x0809, 0x04B0}}, 0x0419, 1},             // primary English
        {{{0x0407, 0x04E4}, {0x0407, 0x04B0}}, 0x0407, 0},             // stored order within a rule
        {{}, 0x0409, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionResource::ChooseTranslation(c.entries, c.user), c.chosen) << "user " << c.user;
}

// Equality and the mirrored order are VersionFileFuzz's checks.
TEST(Version, PartsCompareAsNumbersFromMajorToRevision)
{
    const struct
    {
        VersionQuad published, running;
        VersionOrder order;
    } cases[] = {
        {{4, 10, 0, 0}, {4, 9, 9, 9}, VersionOrder::PublishedNewer},
        {{4, 2, 2, 9}, {4, 2, 3, 0}, VersionOrder::RunningNewer},
        {{0xFFFFFFFFu, 0, 0, 0}, {4, 0, 0, 0}, VersionOrder::PublishedNewer},
        {{4, 2, 2, 6}, {4, 2, 2, 5}, VersionOrder::PublishedNewer},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareVersions(c.published, c.running), c.order);
    EXPECT_EQ(SignedVersionText({4, 0xFFFFFFFFu, 2, 5}), L"4.-1.2.5");
    EXPECT_EQ(UnsignedVersionText({4, 0xFFFFFFFFu, 2, 5}), L"4.4294967295.2.5");
}
