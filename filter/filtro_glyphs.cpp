#include "filter/filtro_glyphs.h"

#include <map>
#include <string>
#include <vector>

#include "confirmation/mark_glyphs.h"
#include "forms/glyphs.h"

namespace {

const std::map<char, fw::TColor> kPalette = {{'.', fw::clOlive}, {'b', fw::clNavy}};

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
  return TwoStateGlyph(glass);
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
