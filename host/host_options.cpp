#include "host/host_options.h"

#include <charconv>

#include "base/errors.h"

namespace host {
namespace {

void ParseServer(const std::string& url, HostOptions& options) {
  const std::string prefix = "http://";
  std::string rest = url.rfind(prefix, 0) == 0 ? url.substr(prefix.size()) : std::string();
  size_t colon = rest.rfind(':');
  int port = 0;
  bool ok = colon != std::string::npos && colon > 0;
  if (ok) {
    std::string_view digits(rest.data() + colon + 1, rest.size() - colon - 1);
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    ok = ec == std::errc() && end == digits.data() + digits.size() && port > 0 && port < 65536;
  }
  if (!ok)
    throw fw::Exception("Endereço do servidor de aplicação inválido: '" + url +
                        "' (esperado http://HOST:PORTA).");
  options.ServerHost = rest.substr(0, colon);
  options.ServerPort = port;
}

}  // namespace

HostOptions ParseHostOptions(const std::vector<std::string>& args) {
  HostOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw fw::Exception("Falta o valor da opção " + arg + ".");
      return args[++i];
    };
    if (arg == "--operator") options.Operator = value();
    else if (arg == "--branch") options.Branch = value();
    else if (arg == "--fixed-branch") options.FixedBranch = true;
    else if (arg == "--server") ParseServer(value(), options);
    else if (arg == "--db") options.Database = value();
    else if (arg == "--module") options.Module = value();
    else if (arg == "--modules") options.ModulesDir = value();
    else if (arg == "--headless") options.Headless = true;
    else if (arg == "--port") {
      const std::string& text = value();
      int port = -1;
      auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
      if (ec != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535)
        throw fw::Exception("Porta inválida: '" + text + "'.");
      options.DisplayPort = port;
    }
    else if (arg == "--help" || arg == "-h") options.Help = true;
    else throw fw::Exception("Opção desconhecida: " + arg + ".");
  }
  return options;
}

std::string HostUsage() {
  return "Uso: host [--operator CÓDIGO] --branch CÓDIGO [--fixed-branch]\n"
         "            --server http://127.0.0.1:PORTA --db ARQUIVO-OU-URL\n"
         "            [--module ZQV41800] [--modules PASTA] [--headless] [--port N]\n";
}

}  // namespace host
