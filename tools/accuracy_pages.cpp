// mensura-accuracy-pages: writes the help pages "How exact is each
// conversion" (accuracy_page.h) into a folder. Run by the build, so the
// pages always describe the tables the program was built with.
//
//   mensura-accuracy-pages FOLDER
#include <fstream>
#include <iostream>
#include <string>

#include "accuracy_page.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mensura-accuracy-pages FOLDER\n";
        return 2;
    }
    try {
        const auto& pages = mensura::exact::AccuracyPages();
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const std::string path = std::string(argv[1]) + "/" + pages[i].file;
            std::ofstream file(path, std::ios::binary);
            file << mensura::exact::AccuracyPageText(i);
            if (!file.flush()) {
                std::cerr << "mensura-accuracy-pages: cannot write " << path << "\n";
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "mensura-accuracy-pages: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
