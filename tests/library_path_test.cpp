// Reading the plugin's own file name the way GetModuleFileNameW reports it.
#include <gtest/gtest.h>

#include "plugin/library_path.h"

namespace kestrova::test {
namespace {

// GetModuleFileNameW's contract for a module whose file name is `path`: at most
// `size` units including the NUL; a name that does not fit is cut to size - 1
// units and `size` is returned.
struct FakeModule {
    WideString path;
    std::vector<std::size_t> sizesAsked;

    std::size_t operator()(WIDECHAR* buffer, std::size_t size)
    {
        sizesAsked.push_back(size);
        const std::size_t copied = std::min(path.size(), size - 1);
        std::copy_n(path.begin(), copied, buffer);
        buffer[copied] = 0;
        return path.size() < size ? path.size() : size;
    }
};

WideString PathOfLength(std::size_t length) { return WideString(length, WTEXT('p')); }

TEST(ModuleFileName, NamesUpToTheClassicLimitAreReadAtOnceWithoutTheirNul)
{
    for (const std::size_t length : {1u, 258u, 259u}) {
        FakeModule module{PathOfLength(length), {}};
        EXPECT_EQ(ReadModuleFileName(std::ref(module)), module.path) << length;
        EXPECT_EQ(module.sizesAsked, std::vector<std::size_t>{260}) << length;
    }
}

TEST(ModuleFileName, LongerNamesAreReadAgainWholeRatherThanCut)
{
    for (const std::size_t length : {260u, 261u, 600u, 32767u}) {
        FakeModule module{PathOfLength(length), {}};
        EXPECT_EQ(ReadModuleFileName(std::ref(module)), module.path) << length;
        EXPECT_GT(module.sizesAsked.size(), 1u) << length;
    }
}

TEST(ModuleFileName, AFailedReadGivesNoPath)
{
    EXPECT_EQ(ReadModuleFileName([](WIDECHAR*, std::size_t) -> std::size_t { return 0; }), WideString());
    // A name longer than any path Windows accepts is never taken cut.
    FakeModule endless{PathOfLength(70000), {}};
    EXPECT_EQ(ReadModuleFileName(std::ref(endless)), WideString());
}

}  // namespace
}  // namespace kestrova::test
