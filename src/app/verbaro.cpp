#include <string>
#include <vector>

#include "app/Main.h"

int main(int argc, char** argv) {
    return programMain(std::vector<std::string>(argv, argv + argc));
}
