// celestra: the desktop program.
#include "ui/program.h"

int main(int argc, char** argv) { return celestra::programMain(argc, argv); }
