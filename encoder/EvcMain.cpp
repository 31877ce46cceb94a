#include "EncoderMain.h"

int main(int argc, char** argv) { return runEncoder(argc, argv, false); }
