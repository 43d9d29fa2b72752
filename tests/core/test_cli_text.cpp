// tsumugi-cli's text commands on texts that used to break: a cut that would split a pair,
// and characters that cp932 writes under more than one code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/run_command.h"
#include "core/temp_dir.h"
#include "demo/rom.h"

namespace tsumugi {
namespace {

using testing::TempDir;

class CliTextTest : public ::testing::Test {
protected:
    // stdout of the program with these arguments; exit code into code.
    std::string Run(const std::vector<std::string>& args, int& code) {
        std::string command = testing::ShellQuote(TSUMUGI_CLI_PATH);
        for (const std::string& a : args) command += " " + testing::ShellQuote(a);
        const testing::CommandRun run = testing::RunCommand(command + " 2>/dev/null");
        code = run.code;
        return run.out;
    }

    TempDir m_dir;
};

TEST_F(CliTextTest, ACutTextEndsBeforeThePairItWouldSplit) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const std::string table = m_dir.Write("string.txt", demo::StringTable());
    int code = -1;
    const std::string out = Run({"--table", table, "encode", "ＡＢ", "--limit", "4", "--json"}, code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out,
              "{\"bytes\":\"C0 01 FF FF\",\"status\":2,\"length\":4,\"error_pos\":0,\"error_text\":"
              "\"\"}\n");
}

TEST_F(CliTextTest, DecodedTextEncodesBackUnderTheCodesTheTableLists) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    // "∵" listed as 0x879A (usually 0x81E6), "纊" as 0xED40 (usually 0xFA5C).
    const std::string table =
        m_dir.Write("string.txt", std::string("01,\x82\xA0\r\nC0 01:\x87\x9A\r\nC0 02:\xED\x40\r\n"));
    std::vector<uint8_t> rom = testing::TitledRom(0x200);
    const std::vector<uint8_t> text = {0x01, 0xC0, 0x01, 0xC0, 0x02, 0xFF};
    std::copy(text.begin(), text.end(), rom.begin() + 0x100);
    const std::string path = m_dir.Write("twins.gba", rom);

    int code = -1;
    const std::string decoded = Run({"--table", table, "decode", path, "100"}, code);
    ASSERT_EQ(code, 0);
    ASSERT_EQ(decoded, "あ∵纊\n");
    const std::string encoded =
        Run({"--table", table, "encode", decoded.substr(0, decoded.size() - 1)}, code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(encoded, "01 C0 01 C0 02 FF\n");
}

}  // namespace
}  // namespace tsumugi
