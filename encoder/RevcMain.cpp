#include "EncoderMain.h"

// Like evc, but an input ending in ".avs" is read as the script that names the source.
int main(int argc, char** argv) { return runEncoder(argc, argv, true); }
