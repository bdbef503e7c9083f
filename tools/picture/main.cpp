#include <iostream>

#include "tools/picture/PictureTool.h"

int main(int argc, char** argv) { return RunPictureTool(argc, argv, std::cout, std::cerr); }
