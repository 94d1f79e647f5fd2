// Plain text out of a rich-text (RTF) document, for read-only rich-text
// views.
//
// RtfToPlainText keeps the document's text: paragraph and line breaks
// become "\n", tabs "\t"; "\'hh" escapes are read as Windows-1252 and
// "\uN" as Unicode (its fallback characters skipped as "\ucN" says); font,
// colour and style tables, pictures, document information, field
// instructions and every "\*" destination are left out; formatting is
// dropped. A text that does not start with "{\rtf" is not rich text and
// comes back unchanged. Malformed input (unbalanced braces, cut escapes)
// never fails: what can be read is kept. The result is UTF-8.
// Pure and thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace fw {

bool IsRichText(std::string_view text);
// Bytes of a Windows-1252 text as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);
std::string RtfToPlainText(std::string_view rtf);

}  // namespace fw
