// What every fuzz target shares: a working folder of its own (in memory where the system has
// one) in which the readers find the files they are given, a log and framework diagnostics
// that go nowhere (a long run neither fills the disk nor floods the output), and a reader of
// the input that splits it into the few values and files a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Fuzz {

// Makes a fresh folder the process's working folder (the first call does; later calls only
// answer) and returns its path. The folder is removed when the process exits normally.
const std::string& EnterWorkFolder();

// What every target's LLVMFuzzerInitialize does first: the engine's own paths given on the
// command line (corpus folders, inputs) and the folder of its findings are made absolute, as
// they were meant from where the target was started; then the working folder is entered.
void Initialize(int* argc, char*** argv);

// Writes bytes to a file of the working folder ('/' separated name, folders made as needed).
// The file is replaced by a new one, so caches that know a file by its identity see the change.
void PutFile(const std::string& name, std::string_view bytes);
void PutFile(const std::string& name, const uint8_t* data, size_t size);
void RemoveFile(const std::string& name);

// The choices of a target come from the input's last byte, so that a file of the seed corpus
// is read whole as the file it is, under varying choices.
inline uint8_t Choices(const uint8_t* data, size_t size) { return size > 0 ? data[size - 1] : 0; }

// Takes an input apart from the front: single bytes, then pieces for files.
class InputReader {
public:
    InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    // The next byte, 0 when the input is used up.
    uint8_t Byte();
    // The bytes up to the next occurrence of the separator (which is skipped), or the rest.
    std::string_view Piece(std::string_view separator);
    std::string_view Rest();
    bool Empty() const { return pos_ >= size_; }

private:
    std::string_view Remaining() const;

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A property a target checks: when it does not hold, the condition is printed and the run ends
// as a crash, so that the engine keeps the input.
[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);
#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::Fuzz::CheckFailed(#condition, __FILE__, __LINE__))

// Separates the files of a target that reads several: a line of its own.
inline constexpr std::string_view kFileSeparator = "\n--next-file--\n";

}  // namespace Fuzz
