#include "filter/filtro_glyphs.h"

#include <map>
#include <string>
#include <vector>

#include "forms/glyphs.h"

namespace {

const std::map<char, fw::TColor> kPalette = {{'.', fw::clOlive}, {'#', fw::clBlack},
                                             {'w', fw::clWhite}, {'b', fw::clNavy},
                                             {'g', fw::clGray},  {'s', fw::clSilver}};

}  // namespace

fw::TBitmap SearchGlyph() {
  const std::vector<std::string> glass = {
      "................",  //
      "....#####.......",  //
      "...#wwwww#......",  //
      "..#wwwwwww#.....",  //
      "..#wwwwwww#.....",  //
      "..#wwwwwww#.....",  //
      "..#wwwwwww#.....",  //
      "..#wwwwwww#.....",  //
      "...#wwwww#......",  //
      "....######......",  //
      "..........##....",  //
      "...........##...",  //
      "............##..",  //
      ".............##.",  //
      "................",  //
      "................"};
  std::vector<std::string> rows;
  for (const std::string& line : glass) {
    std::string greyed = line;
    for (char& c : greyed) c = c == '#' ? 'g' : c == 'w' ? 's' : c;
    rows.push_back(line + greyed);
  }
  return fw::BitmapFromPixels(rows, kPalette);
}

fw::TBitmap UndoGlyph() {
  return fw::BitmapFromPixels({"................",  //
                               "................",  //
                               "....b...........",  //
                               "...bb...........",  //
                               "..bbbbbbbbb.....",  //
                               ".bbbbbbbbbbb....",  //
                               "..bbbbbbbbbbb...",  //
                               "...bb......bbb..",  //
                               "....b.......bb..",  //
                               "............bb..",  //
                               "............bb..",  //
                               "...........bbb..",  //
                               "......bbbbbbb...",  //
                               "......bbbbbb....",  //
                               "................",  //
                               "................"},
                              kPalette);
}
