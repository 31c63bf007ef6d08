// Writes the demo installation: a complete game folder of our own inventions to try the editor on.
#include <exception>
#include <iostream>
#include <string>

#include "demo/demo_installation.h"

int main(int argc, char** argv) {
    using namespace tovarin::demo;
    const bool nightwatch = argc == 3 && std::string(argv[2]) == "--nightwatch";
    if (argc < 2 || (argc == 3 && !nightwatch) || argc > 3) {
        std::cerr << "usage: tovarin_demo OUTPUT_FOLDER [--nightwatch]\n";
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
