// Writes the demo installation: a complete game folder of our own inventions to try the editor on.
#include <exception>
#include <iostream>
#include <string>

#include "demo/demo_installation.h"

int main(int argc, char** argv) {
    using namespace tovarin::demo;
    constexpr const char* kUsage = "usage: tovarin_demo OUTPUT_FOLDER [--nightwatch]\n";
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h") {
        std::cout << kUsage << "Writes the demo installation of Vantorsk Ashfall (or Nightwatch) into the folder.\n";
        return 0;
    }
    const bool nightwatch = argc == 3 && std::string(argv[2]) == "--nightwatch";
    // A folder name that starts with "-" is an option mistyped, never a folder to make.
    if (argc < 2 || (argc == 3 && !nightwatch) || argc > 3 || first.starts_with("-")) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        GameFolder folder(argv[1], nightwatch ? Edition::Nightwatch : Edition::Base);
        WriteDemoInstallation(folder);
        std::cout << "Demo installation written to " << folder.Folder() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "tovarin_demo: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
