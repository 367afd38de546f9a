// Prints the visible text of an RTF file, for the checks against other readers.
// usage: text_tool FILE

#include <fstream>
#include <iostream>
#include <sstream>

#include "text/rtf_plain_text.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: text_tool FILE\n";
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  std::cout << orv::RtfToPlainText(content.str());
  return file ? 0 : 2;
}
