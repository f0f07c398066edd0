// Pieces of zanvo-scramble that are tested alone, for every platform: the progress line as a
// terminal shows it, and the form that lifts Windows' limit on the length of a name.
#include "cli/progress.h"
#include "runtime/longpath.h"
#include "tempfolder.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

using zanvo::cli::LineStyle;

namespace {

// The row a terminal shows after output: a carriage return goes back to its start, an escape
// sequence clears from the caret on, other characters are written over what stands there.
std::string row(std::string_view output)
{
    std::string shown;
    std::size_t caret = 0;
    for (std::size_t i = 0; i < output.size(); ++i) {
        if (output[i] == '\r') {
            caret = 0;
        } else if (output.substr(i).starts_with("\033[K")) {
            shown.resize(caret);
            i += 2;
        } else {
            if (caret == shown.size())
                shown += output[i];
            else
                shown[caret] = output[i];
            ++caret;
        }
    }
    return shown.substr(0, shown.find_last_not_of(' ') + 1);
}

} // namespace

TEST(Progress, EachLineReplacesTheLastAndClearingLeavesAnEmptyRow)
{
    for (const LineStyle style : {LineStyle::Escapes, LineStyle::Redraw}) {
        std::size_t width = 0;
        std::string output;
        for (const std::string_view line : {"zanvo-scramble: reading 100%",
                                            "zanvo-scramble: shuffling", "", "zanvo-scramble: x"}) {
            output += zanvo::cli::overwrite(style, line, width);
            EXPECT_EQ(row(output), line);
        }
        output += zanvo::cli::overwrite(style, {}, width);
        EXPECT_EQ(row(output), "");
        EXPECT_TRUE(output.ends_with('\r') || output.ends_with("\033[K"));
    }
}

// Standard error redirected to a null device or a file gets no progress line.
TEST(Progress, NeitherANullDeviceNorAFileIsATerminal)
{
#ifdef _WIN32
    const char *null = "NUL";
#else
    const char *null = "/dev/null";
#endif
    const zanvo::test::TempFolder temp;
    for (std::FILE *stream : {std::fopen(null, "w"), std::fopen(temp.name("log").c_str(), "w")}) {
        ASSERT_NE(stream, nullptr);
        EXPECT_EQ(zanvo::cli::lineStyle(stream), LineStyle::None);
        std::fclose(stream);
    }
}

TEST(LongPath, EveryFullPathTakesTheExtendedFormOnce)
{
    using zanvo::extendedPath;
    EXPECT_EQ(extendedPath(L"C:\\名单\\list.txt"), L"\\\\?\\C:\\名单\\list.txt");
    EXPECT_EQ(extendedPath(L"\\\\server\\share\\list.txt"), L"\\\\?\\UNC\\server\\share\\list.txt");
    for (const wchar_t *device :
         {L"\\\\?\\C:\\list.txt", L"\\\\.\\NUL", L"\\\\?\\UNC\\server\\share"})
        EXPECT_EQ(extendedPath(device), device);
}
