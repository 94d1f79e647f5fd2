#include "confirmation/mark_glyphs.h"

#include <map>
#include <string>
#include <vector>

#include "forms/glyphs.h"

namespace {

const std::map<char, fw::TColor> kPalette = {
    {'.', fw::clOlive}, {'#', fw::clBlack}, {'s', fw::clSilver}, {'w', fw::clWhite},
    {'g', fw::clGray}, {'b', fw::clNavy}};

// The frame around a 9 x 9 interior (rows 3 to 11, columns 3 to 11).
fw::TBitmap Box(const std::vector<std::string>& interior) {
  std::vector<std::string> rows = {
      "................",   // 0
      ".............s..",   // 1: the right line starts
      "..##########.s..",   // 2: the top edge
  };
  for (const std::string& line : interior) rows.push_back("..#" + line + ".s..");  // 3-11
  rows.push_back(".............s..");  // 12
  rows.push_back(".sssssssssssss..");  // 13: the bottom line
  rows.push_back("................");  // 14
  rows.push_back("................");  // 15
  return fw::BitmapFromPixels(rows, kPalette);
}

}  // namespace

fw::TBitmap UncheckGlyph() { return Box(std::vector<std::string>(9, "wwwwwwwww")); }

fw::TBitmap DescheckGlyph() { return Box(std::vector<std::string>(9, "sssssssss")); }

fw::TBitmap CheckGlyph() {
  //             columns 3..11
  return Box({"wwwwwwwww",    // row 3
              "wwwwwww#w",    // row 4: column 10
              "wwwwww##w",    // row 5: 9, 10
              "w#www###w",    // row 6: 4, 8, 9, 10
              "w##w###ww",    // row 7: 4, 5, 7, 8, 9
              "w#####www",    // row 8: 4 to 8
              "ww###wwww",    // row 9: 5 to 7
              "www#wwwww",    // row 10: 6
              "wwwwwwwww"});  // row 11
}

fw::TBitmap FilterGlyph() {
  const std::vector<std::string> funnel = {
      "................",  //
      "................",  //
      ".##############.",  //
      "..#wwwwwwwwwww#.",  //
      "...#wwwwwwwww#..",  //
      "....#wwwwwww#...",  //
      ".....#wwwww#....",  //
      "......#www#.....",  //
      "......#www#.....",  //
      "......#www#.....",  //
      "......#www#.....",  //
      "......#www#.....",  //
      "......#ww##.....",  //
      "......####......",  //
      "................",  //
      "................"};
  return TwoStateGlyph(funnel);
}

fw::TBitmap TwoStateGlyph(const std::vector<std::string>& shown) {
  std::vector<std::string> rows;
  for (const std::string& line : shown) {
    std::string greyed = line;
    for (char& c : greyed) c = c == '#' ? 'g' : c == 'w' ? 's' : c;
    rows.push_back(line + greyed);
  }
  return fw::BitmapFromPixels(rows, kPalette);
}
