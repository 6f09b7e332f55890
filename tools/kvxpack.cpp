// kvxpack: builds, inspects and unpacks the installer's payload on a host
// without Windows.

#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/kvxpack_commands.h"

namespace {

constexpr const char* Usage =
    "usage: kvxpack COMMAND ARGS\n"
    "  compress IN OUT   write IN as an SZDD file (mode A)\n"
    "  expand IN OUT     expand the SZDD file IN\n"
    "  pack DIR OUT      pack the nine installed files found in DIR into a payload\n"
    "  list FILE         list the entries of a payload or a built setup.exe\n"
    "  extract FILE DIR  expand the entries of FILE into DIR\n"
    "  verify FILE       check that every entry of FILE expands whole\n"
    "FILE is a payload as pack writes it or a setup.exe holding it as resource 136.\n";

int Run(const std::vector<std::string>& args) {
    const std::string& command = args[0];
    const auto wants = [&](std::size_t count) {
        if (args.size() == count + 1) return true;
        std::cerr << "kvxpack: " << command << " takes " << count << " argument" << (count == 1 ? "" : "s") << "\n"
                  << Usage;
        return false;
    };
    if (command == "compress") return wants(2) ? (CompressCommand(args[1], args[2]), 0) : 2;
    if (command == "expand") return wants(2) ? (ExpandCommand(args[1], args[2]), 0) : 2;
    if (command == "pack") return wants(2) ? (PackCommand(args[1], args[2]), 0) : 2;
    if (command == "list") return wants(1) ? (ListCommand(args[1], std::cout), 0) : 2;
    if (command == "extract") return wants(2) ? (ExtractCommand(args[1], args[2]), 0) : 2;
    if (command == "verify") {
        if (!wants(1)) return 2;
        if (VerifyCommand(args[1], std::cout)) return 0;
        std::cerr << "kvxpack: " << args[1] << ": verification failed\n";
        return 1;
    }
    std::cerr << "kvxpack: unknown command '" << command << "'\n" << Usage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << Usage;
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << Usage;
        return 0;
    }
    try {
        return Run(args);
    } catch (const std::exception& e) {
        std::cerr << "kvxpack: " << e.what() << '\n';
        return 1;
    }
}
