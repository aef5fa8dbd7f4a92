// The program's entry point; everything it does is in vellorinMain.
#include "shell/vellorinMain.h"

int main(int argc, char** argv) {
    return vellorinMain(argc, argv);
}
