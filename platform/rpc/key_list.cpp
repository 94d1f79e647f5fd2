#include "rpc/key_list.h"

#include "base/errors.h"

namespace fw {

std::string JoinKeyList(const std::vector<std::string>& keys) {
  std::string text;
  for (const std::string& key : keys) {
    if (!text.empty()) text += ',';
    text += '\'';
    for (char c : key) {
      if (c == '\'') text += '\'';
      text += c;
    }
    text += '\'';
  }
  return text;
}

namespace {

[[noreturn]] void Malformed(size_t pos, const char* expected) {
  throw EConvertError("Lista de chaves malformada: esperado " + std::string(expected) +
                      " na posição " + std::to_string(pos + 1) + ".");
}

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  return pos;
}

}  // namespace

std::vector<std::string> SplitKeyList(std::string_view text) {
  std::vector<std::string> keys;
  size_t pos = SkipBlanks(text, 0);
  if (pos == text.size()) return keys;
  while (true) {
    if (text[pos] != '\'') Malformed(pos, "aspas simples");
    std::string key;
    ++pos;
    while (true) {
      if (pos >= text.size()) Malformed(pos, "aspas simples de fechamento");
      if (text[pos] == '\'') {
        if (pos + 1 < text.size() && text[pos + 1] == '\'') {
          key += '\'';
          pos += 2;
          continue;
        }
        ++pos;
        break;
      }
      key += text[pos++];
    }
    keys.push_back(std::move(key));
    pos = SkipBlanks(text, pos);
    if (pos == text.size()) return keys;
    if (text[pos] != ',') Malformed(pos, "vírgula");
    pos = SkipBlanks(text, pos + 1);
    if (pos == text.size()) Malformed(pos, "uma chave");
  }
}

}  // namespace fw
