#include "probe.h"

#include <iostream>

// A wiring and speed check for someone who has just put a converter on a parallel port.
int main(int argc, char** argv) {
    return vistrace::runProbe(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                              std::cerr);
}
