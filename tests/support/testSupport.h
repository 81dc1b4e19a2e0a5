#pragma once
// Helpers shared by the test suites: stdout capture, scratch files and running programs.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarnview::test {

/// Everything f printed on standard output (through printf or iostreams).
std::string captureStdout(const std::function<void()>& f);

/// A path in this test process's scratch directory (created on first use).
std::string scratchPath(const std::string& name);

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void writeText(const std::string& path, const std::string& text);
std::vector<uint8_t> readBytes(const std::string& path);
bool fileExists(const std::string& path);

/// Whether an executable of that name is on PATH.
bool haveProgram(const std::string& name);

struct RunResult {
    std::string out;  // standard output
    std::string err;  // standard error
    int status = -1;  // exit status, or -1 when the program did not exit normally
};

/// Runs argv[0] (a path) with the arguments, without a shell, and collects its output.
RunResult runProgram(const std::vector<std::string>& argv);
/// Runs the tarnview converter built in this tree with the arguments.
RunResult runTarnview(std::vector<std::string> args);

/// Appends the bytes of a 32-bit value in little- or big-endian order.
void putU32(std::vector<uint8_t>& out, uint32_t v, bool bigEndian);
void putF32(std::vector<uint8_t>& out, float v, bool bigEndian);
void putU16(std::vector<uint8_t>& out, uint16_t v, bool bigEndian);

}  // namespace tarnview::test
