// gamehost: the headless host program of the game library.
#include "Host/CommandLine.h"

int main(int argc, char** argv) {
    return GAME::RunCommandLine(argc, argv);
}
