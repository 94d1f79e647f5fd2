#include "library/option_store.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/errors.h"
#include "base/text_case.h"

namespace Velkora {
namespace {

std::string Escape(std::string_view value) {
  std::string out;
  for (char c : value) {
    if (c == '%') out += "%25";
    else if (c == '\n') out += "%0A";
    else if (c == '\r') out += "%0D";
    else out += c;
  }
  return out;
}

std::string Unescape(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    std::string_view code = value.substr(i, 3);
    if (code == "%25") out += '%';
    else if (code == "%0A") out += '\n';
    else if (code == "%0D") out += '\r';
    else {
      out += value[i];
      continue;
    }
    i += 2;
  }
  return out;
}

std::string SafeName(const std::string& code) {
  std::string out;
  for (char c : code)
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-') out += c;
  return out.empty() ? "_" : out;
}

void WriteAll(int fd, const std::string& text, const std::string& path) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) throw fw::Exception("Não foi possível gravar as opções em '" + path + "'.");
    done += static_cast<size_t>(n);
  }
}

// Temporary files of earlier saves of `path` whose process is gone: a save
// that died between writing and renaming. Another process's save in
// flight is left alone.
void RemoveStrayTemporaries(const std::string& path) {
  std::filesystem::path file(path);
  std::string prefix = file.filename().string() + ".tmp";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), ec)) {
    std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix)) continue;
    std::string pid = name.substr(prefix.size());
    if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos)
      continue;
    pid_t owner = static_cast<pid_t>(std::stol(pid));
    if (owner == ::getpid() || (::kill(owner, 0) != 0 && errno == ESRCH))
      std::filesystem::remove(entry.path(), ec);
  }
}

// What Save writes: "name=value" lines of text; anything else is not ours.
bool LooksSaved(std::string_view text) {
  if (text.find('\0') != std::string_view::npos || !fw::IsValidUtf8(text)) return false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    size_t eq = line.find('=');
    if (!line.empty() && line != "\r" && (eq == std::string_view::npos || eq == 0)) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

EOptionsUnreadable::EOptionsUnreadable()
    : fw::Exception("As opções salvas não puderam ser lidas; nada foi carregado.") {}

std::string TOptionList::Value(std::string_view name) const {
  for (const auto& [n, v] : entries_)
    if (n == name) return v;
  return {};
}

bool TOptionList::Has(std::string_view name) const {
  for (const auto& entry : entries_)
    if (entry.first == name) return true;
  return false;
}

void TOptionList::SetValue(std::string_view name, std::string_view value) {
  if (name.empty() || name.find_first_of("=\n\r") != std::string_view::npos)
    throw fw::Exception("Nome de opção inválido: '" + std::string(name) + "'.");
  for (auto& [n, v] : entries_)
    if (n == name) {
      v = std::string(value);
      return;
    }
  entries_.emplace_back(std::string(name), std::string(value));
}

std::string TOptionList::Serialize() const {
  std::string text;
  for (const auto& [n, v] : entries_) text += n + "=" + Escape(v) + "\n";
  return text;
}

TOptionList TOptionList::Parse(std::string_view text) {
  TOptionList list;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t eq = line.find('=');
    if (eq != std::string_view::npos && eq > 0)
      list.entries_.emplace_back(std::string(line.substr(0, eq)), Unescape(line.substr(eq + 1)));
    start = end + 1;
  }
  return list;
}

std::string OptionFilePath(const std::string& operatorCode, const std::string& screenCode) {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::filesystem::path(home) / ".config";
  else base = std::filesystem::temp_directory_path();
  return (base / "velkora" / "opcoes" / SafeName(operatorCode) / (SafeName(screenCode) + ".opc"))
      .string();
}

void SaveOptions(const std::string& path, const TOptionList& options) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  RemoveStrayTemporaries(path);
  std::string temp = path + ".tmp" + std::to_string(::getpid());
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) throw fw::Exception("Não foi possível gravar as opções em '" + path + "'.");
  try {
    WriteAll(fd, options.Serialize(), path);
    if (::fsync(fd) != 0) throw fw::Exception("Não foi possível gravar as opções em '" + path + "'.");
  } catch (...) {
    ::close(fd);
    ::unlink(temp.c_str());
    throw;
  }
  ::close(fd);
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw fw::Exception("Não foi possível gravar as opções em '" + path + "'.");
  }
}

TOptionList LoadOptions(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return {};
  if (std::filesystem::file_size(path, ec) > kMaxOptionFileBytes || ec) throw EOptionsUnreadable();
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  if (!in || !(text << in.rdbuf()) || !LooksSaved(text.view())) throw EOptionsUnreadable();
  return TOptionList::Parse(text.view());
}

}  // namespace Velkora
