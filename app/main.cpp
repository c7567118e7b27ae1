#include "app/start_up.h"

int main(int argc, char** argv) {
    // The program takes no arguments; only its name goes on to Qt.
    (void)argc;
    return RunCalculator(argv[0]);
}
