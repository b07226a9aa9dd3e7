// Checks the source tree's structure rules (structure_check.h) over the tree the build describes
// and prints each fault.
//
// Usage: test_include_order DESCRIPTION   (written by tests/structure/CMakeLists.txt)

#include <exception>
#include <iostream>

#include "structure_check.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: test_include_order DESCRIPTION\n";
        return 2;
    }
    try {
        const structure::Report report = structure::checkTree(structure::readTree(argv[1]));
        for (const std::string& fault : report.faults) {
            std::cout << fault << '\n';
        }
        std::cout << report.includesChecked << " includes checked, " << report.faults.size()
                  << " faults\n";
        return report.faults.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 2;
    }
}
