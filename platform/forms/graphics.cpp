#include "forms/graphics.h"

#include <cstdio>
#include <utility>

namespace fw {

std::string ColorToString(TColor color) {
  static const std::pair<TColor, const char*> kNames[] = {
      {clBlack, "clBlack"},         {clMaroon, "clMaroon"},       {clGreen, "clGreen"},
      {clOlive, "clOlive"},         {clNavy, "clNavy"},           {clPurple, "clPurple"},
      {clTeal, "clTeal"},           {clGray, "clGray"},           {clSilver, "clSilver"},
      {clRed, "clRed"},             {clLime, "clLime"},           {clYellow, "clYellow"},
      {clBlue, "clBlue"},           {clFuchsia, "clFuchsia"},     {clAqua, "clAqua"},
      {clWhite, "clWhite"},         {clWindow, "clWindow"},       {clWindowText, "clWindowText"},
      {clCaptionText, "clCaptionText"}, {clHighlight, "clHighlight"},
      {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"},
      {clGrayText, "clGrayText"},   {clInfoBk, "clInfoBk"},       {clInfoText, "clInfoText"},
      {clBtnText, "clBtnText"},     {clActiveCaption, "clActiveCaption"}};
  for (const auto& [c, name] : kNames)
    if (c == color) return name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", color);
  return buf;
}

TBitmap::TBitmap(int width, int height, TColor fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

}  // namespace fw
