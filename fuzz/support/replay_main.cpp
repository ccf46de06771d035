// Runs a fuzz target over files instead of under the fuzzer, so the normal sanitizer build
// replays every kept input. Each argument is a file or a folder of files (not searched
// further down). Each input runs in a child process of its own: one that crashes, hangs,
// takes more memory than the fuzzer allows or breaks a property is named, and the others
// still run. Exits 1 when any input failed.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// The fuzzer's limits (scripts/fuzz.sh), the time made roomier for an unoptimised build.
constexpr unsigned int kSecondsPerInput = 30;
constexpr long kMaxResidentKiB = 2048L * 1024L;

std::vector<std::string> inputsOf(const std::vector<std::string>& arguments) {
    std::vector<std::string> inputs;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (!std::filesystem::is_directory(argument, error)) {
            inputs.push_back(argument);
            continue;
        }
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(argument, error)) {
            if (entry.is_regular_file(error)) {
                files.push_back(entry.path().string());
            }
        }
        std::sort(files.begin(), files.end());
        inputs.insert(inputs.end(), files.begin(), files.end());
    }
    return inputs;
}

int runInput(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    alarm(kSecondsPerInput);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 0;
}

// The child's scratch files go into a folder of the parent's, removed once the child has
// ended, so a child that crashed leaves nothing behind.
class ChildScratch {
public:
    ChildScratch() {
        const char* const tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/quellaris-replay.XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            _path = pattern;
        }
    }
    ~ChildScratch() {
        std::error_code ignored;
        if (!_path.empty()) {
            std::filesystem::remove_all(_path, ignored);
        }
    }
    ChildScratch(const ChildScratch&) = delete;
    ChildScratch& operator=(const ChildScratch&) = delete;

    const std::string& path() const { return _path; }

private:
    std::string _path;
};

// True when the input ran to its end in a child and the child ended cleanly.
bool replay(const std::string& path) {
    const ChildScratch scratch;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return false;
    }
    if (child == 0) {
        if (!scratch.path().empty()) {
            setenv("TMPDIR", scratch.path().c_str(), 1);
        }
        // exit, not _exit: the child's leak check runs at its exit.
        std::exit(runInput(path));
    }
    int status = 0;
    rusage usage = {};
    if (wait4(child, &status, 0, &usage) != child) {
        std::perror("wait4");
        return false;
    }
    const bool exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (exited && usage.ru_maxrss <= kMaxResidentKiB) {
        return true;
    }
    if (exited) {
        std::fprintf(stderr, "FAILED %s: used %ld MiB, more than the fuzzer allows\n", path.c_str(),
                     usage.ru_maxrss / 1024);
    } else if (WIFSIGNALED(status)) {
        std::fprintf(stderr, "FAILED %s: %s\n", path.c_str(), strsignal(WTERMSIG(status)));
    } else {
        std::fprintf(stderr, "FAILED %s: exit status %d\n", path.c_str(), WEXITSTATUS(status));
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> inputs = inputsOf(std::vector<std::string>(argv + 1, argv + argc));
    int failed = 0;
    for (const std::string& input : inputs) {
        failed += replay(input) ? 0 : 1;
    }
    std::printf("%zu inputs replayed, %d failed\n", inputs.size(), failed);
    return failed == 0 ? 0 : 1;
}
