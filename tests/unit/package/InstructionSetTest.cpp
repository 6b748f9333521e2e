// Checks every program file users get for instructions an 80386 without a coprocessor
// does not have: the shipped Vornel.exe, the installer (its stub), the uninstaller it writes,
// every plug-in inside it, and whatever else the installer and the zip carry.
// Wine on a modern processor runs them all; a Pentium, a K6 or a 486 stops at the
// first such instruction with an illegal-instruction fault.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kShippedTree = fs::path(VORNEL_BINARY_DIR) / ".." / "win32";
constexpr char kObjdump[] = "i686-w64-mingw32-objdump";
constexpr char kObjcopy[] = "i686-w64-mingw32-objcopy";

std::string Quoted(const fs::path& path) {
    std::string quoted = "'";
    for (const char c : path.string())
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Standard output of a shell command; fails the test when the command does.
std::string Shell(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return output;
    }
    std::array<char, 4096> buffer{};
    while (const std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << command;
    return output;
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool IsProgramFile(const fs::path& path) {
    return Bytes(path).rfind("MZ", 0) == 0;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Why the instruction is not the 80386's, or nothing. The mnemonics are objdump's
// (AT&T syntax, with its size suffixes). ud2 is left alone: it is there to fault, and
// does on every processor.
std::optional<std::string> BeyondThe386(std::string_view mnemonic, std::string_view operands) {
    struct Family {
        std::vector<std::string_view> mnemonics;  // a trailing '*' matches any ending
        const char* why;
    };
    static const std::vector<Family> kFamilies = {
        {{"bswap", "xadd*", "cmpxchg", "cmpxchgl", "cmpxchgw", "cmpxchgb", "invd", "wbinvd",
          "invlpg"},
         "an instruction of the 486"},
        {{"cpuid", "rdtsc", "rdmsr", "wrmsr", "rsm", "cmpxchg8b"}, "an instruction of the Pentium"},
        {{"cmov*", "fcmov*", "fcomi", "fcomip", "fucomi", "fucomip", "rdpmc", "sysenter", "sysexit",
          "nopw", "nopl", "fxsave*", "fxrstor*"},
         "an instruction of the Pentium Pro"},
        {{"emms",      "femms",   "ldmxcsr", "stmxcsr", "sfence",  "lfence",  "mfence",  "clflush*",
          "prefetch*", "movnti*", "popcnt*", "lzcnt*",  "tzcnt*",  "movbe*",  "crc32*",  "rdrand",
          "rdseed",    "endbr32", "xgetbv",  "xsave*",  "xrstor*", "fisttp*", "monitor", "mwait"},
         "an instruction of a later processor"},
    };
    for (const Family& family : kFamilies) {
        for (std::string_view name : family.mnemonics) {
            const bool matches = name.back() == '*'
                                     ? StartsWith(mnemonic, name.substr(0, name.size() - 1))
                                     : mnemonic == name;
            if (matches) return family.why;
        }
    }
    for (std::string_view reg : {"%mm", "%xmm", "%ymm", "%zmm"}) {
        if (operands.find(reg) != std::string_view::npos) return "an MMX or SSE instruction";
    }
    // The one-byte nop is the 8086's; any nop with an operand is the long form.
    if (StartsWith(mnemonic, "nop") && (mnemonic != "nop" || !operands.empty())) {
        return "a multi-byte nop (Pentium Pro)";
    }
    // Nothing shipped computes with floating point, so a 386 or a 486SX without a
    // coprocessor runs it all; wait (fwait) is the processor's own.
    if (StartsWith(mnemonic, "f") && mnemonic != "fwait") {
        return "a floating-point instruction, which needs a coprocessor on a 386 or 486SX";
    }
    return std::nullopt;
}

// Sections the linker places inside .text that hold data, not code (the exception
// tables and the constructor lists); only a file with symbols names them.
bool IsDataLabel(std::string_view label) {
    return label == ".gcc_except_table" || StartsWith(label, ".ctors") ||
           StartsWith(label, ".dtors") || label == "___CTOR_LIST__" || label == "___DTOR_LIST__";
}

// objdump's disassembly of every code section of `file`, one line per instruction that
// is not the 80386's: its address, the instruction and why. objdump starts again at every
// symbol, so where the file has symbols, data between functions cannot shift what
// follows.
std::vector<std::string> InstructionsBeyondThe386(const fs::path& file) {
    std::vector<std::string> found;
    const std::string listing =
        Shell(std::string(kObjdump) + " -d --no-show-raw-insn " + Quoted(file));
    std::string label;
    std::size_t instructions = 0;
    std::size_t begin = 0;
    while (begin < listing.size()) {
        std::size_t end = listing.find('\n', begin);
        if (end == std::string::npos) end = listing.size();
        const std::string_view line(listing.data() + begin, end - begin);
        begin = end + 1;
        // "00401000 <_WinMainCRTStartup>:" opens a symbol; "  401000:\tpush   %ebp" is code.
        if (const auto open = line.find(" <");
            open != std::string_view::npos && line.back() == ':') {
            label = std::string(line.substr(open + 2, line.size() - open - 4));
            continue;
        }
        const auto tab = line.find(":\t");
        if (tab == std::string_view::npos) continue;
        ++instructions;
        if (IsDataLabel(label)) continue;
        std::string_view instruction = line.substr(tab + 2);
        // Prefixes (lock, rep ...) stand before the mnemonic; none of them makes an
        // instruction newer than the 386.
        while (true) {
            const auto space = instruction.find(' ');
            const std::string_view word = instruction.substr(0, space);
            if (space == std::string_view::npos ||
                !(word == "lock" || StartsWith(word, "rep") || word == "data16" ||
                  word == "addr16" || word == "cs" || word == "ds" || word == "es" ||
                  word == "fs" || word == "gs" || word == "ss")) {
                break;
            }
            instruction.remove_prefix(space + 1);
        }
        const auto space = instruction.find(' ');
        const std::string_view mnemonic = instruction.substr(0, space);
        const std::string_view operands =
            space == std::string_view::npos ? std::string_view{} : instruction.substr(space);
        if (const auto why = BeyondThe386(mnemonic, operands)) {
            found.push_back(std::string(line.substr(0, tab)) + " " + std::string(instruction) +
                            " (" + *why + (label.empty() ? "" : ", in " + label) + ")");
        }
    }
    EXPECT_GT(instructions, 100u) << file << " has hardly any code: not a program?";
    return found;
}

std::string Report(const fs::path& file, const std::vector<std::string>& found) {
    std::string report = file.string() + ":";
    for (std::size_t i = 0; i < found.size() && i < 20; ++i) report += "\n  " + found[i];
    if (found.size() > 20) report += "\n  ... and " + std::to_string(found.size() - 20) + " more";
    return report;
}

class ShippedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kShippedTree / "Vornel.exe")) {
            GTEST_SKIP() << kShippedTree << " holds no shipped build";
        }
        m_scratch = fs::temp_directory_path() / ("vornel-isa-" + std::to_string(::getpid()));
        fs::remove_all(m_scratch);
        fs::create_directories(m_scratch);
    }
    void TearDown() override {
        if (!m_scratch.empty()) fs::remove_all(m_scratch);
    }

    // The packages' files, through 7-Zip, which also takes an NSIS installer apart and
    // rebuilds the uninstaller it would write; an uninstaller's own plug-ins likewise.
    std::vector<fs::path> Unpacked(const fs::path& package, const std::string& name) {
        const fs::path into = m_scratch / name;
        Shell("7z x -y -o" + Quoted(into) + " " + Quoted(package) + " >/dev/null");
        std::vector<fs::path> files;
        if (!fs::exists(into)) return files;  // an uninstaller without plug-ins
        for (const auto& entry : fs::recursive_directory_iterator(into)) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
        return files;
    }

    fs::path m_scratch;
};

// The shipped program's code is that of its unstripped twin, whose symbols tell the
// exception tables in .text from the functions around them.
TEST_F(ShippedFiles, ProgramHasNoInstructionBeyondThe386) {
    const fs::path shipped = kShippedTree / "Vornel.exe";
    const fs::path unstripped = kShippedTree / "Vornel.debug.exe";
    ASSERT_TRUE(fs::exists(unstripped));
    for (const auto& [file, copy] :
         {std::pair{shipped, "shipped.text"}, {unstripped, "debug.text"}}) {
        Shell(std::string(kObjcopy) + " -O binary -j .text " + Quoted(file) + " " +
              Quoted(m_scratch / copy));
    }
    ASSERT_EQ(Bytes(m_scratch / "shipped.text"), Bytes(m_scratch / "debug.text"))
        << "Vornel.exe's code differs from Vornel.debug.exe's";
    const auto found = InstructionsBeyondThe386(unstripped);
    EXPECT_TRUE(found.empty()) << Report(shipped, found);
}

TEST_F(ShippedFiles, InstallerUninstallerPluginsAndZipHaveNoInstructionBeyondThe386) {
    std::vector<fs::path> installers;
    for (const auto& entry : fs::directory_iterator(kShippedTree)) {
        const std::string name = entry.path().filename().string();
        if (StartsWith(name, "Vornel-") &&
            (name.ends_with("-setup.exe") || name.ends_with(".zip"))) {
            installers.push_back(entry.path());
        }
    }
    ASSERT_EQ(installers.size(), 2u) << "the installer and the zip, in " << kShippedTree;

    const std::string program = Bytes(kShippedTree / "Vornel.exe");
    std::vector<fs::path> checked;
    std::vector<fs::path> pending = installers;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const fs::path file = pending[i];
        const std::string name = file.filename().string();
        if (file.extension() == ".zip" || name.ends_with("-setup.exe") || name == "Uninstall.exe") {
            for (const fs::path& inner : Unpacked(file, "unpacked-" + std::to_string(i))) {
                pending.push_back(inner);
            }
        }
        if (file.extension() == ".zip" || !IsProgramFile(file)) continue;
        // The program inside is the shipped one, checked above with its symbols; a
        // package made before the last build carries another.
        if (file.filename() == "Vornel.exe") {
            EXPECT_TRUE(Bytes(file) == program) << file << " is not the shipped Vornel.exe";
            continue;
        }
        checked.push_back(file);
        const auto found = InstructionsBeyondThe386(file);
        EXPECT_TRUE(found.empty()) << Report(file, found);
    }
    // The installer's stub, its uninstaller, and the plug-ins the installer uses.
    std::vector<std::string> names;
    for (const fs::path& file : checked) names.push_back(file.filename().string());
    for (const char* expected : {"Uninstall.exe", "LangDLL.dll", "nsDialogs.dll", "System.dll"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end())
            << expected << " was not among the files checked";
    }
}

}  // namespace
