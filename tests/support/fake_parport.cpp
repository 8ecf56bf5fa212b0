#include "fake_parport.h"

#include <cerrno>
#include <fstream>
#include <linux/ppdev.h>
#include <map>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vistrace::testing {
namespace {

namespace fs = std::filesystem;

const std::map<unsigned long, std::string> kRequestNames{{PPCLAIM, "PPCLAIM"},
                                                         {PPRELEASE, "PPRELEASE"},
                                                         {PPWDATA, "PPWDATA"},
                                                         {PPRSTATUS, "PPRSTATUS"},
                                                         {PPDATADIR, "PPDATADIR"}};

} // namespace

FakeParport::FakeParport() {
    std::string pattern = (fs::temp_directory_path() / "vistrace-parport-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    root_ = pattern;
    fs::create_directories(proc());
}

FakeParport::~FakeParport() {
    fs::remove_all(root_);
}

void FakeParport::addPort(const std::string& name, int baseAddress) {
    fs::create_directories(proc() / name);
    std::ofstream(proc() / name / "base-addr") << baseAddress << "\t-1\n";
}

DeviceCalls FakeParport::calls() {
    return DeviceCalls{[this](const char* path, int) {
                           log.push_back("open " + fs::path(path).filename().string());
                           errno = openErrno;
                           return openErrno != 0 ? -1 : *openFds.insert(nextFd_++).first;
                       },
                       [this](int fd, unsigned long request, void* argument) {
                           log.push_back(std::to_string(fd) + " " + kRequestNames.at(request));
                           if (request == PPCLAIM && claimHeld) {
                               return ::pause();
                           }
                           if (request == PPRSTATUS) {
                               *static_cast<unsigned char*>(argument) = 0x78;
                           }
                           errno = request == PPCLAIM ? claimErrno : 0;
                           return errno != 0 ? -1 : 0;
                       },
                       [this](int fd) {
                           log.push_back(std::to_string(fd) + " close");
                           openFds.erase(fd);
                           return 0;
                       }};
}

} // namespace vistrace::testing
