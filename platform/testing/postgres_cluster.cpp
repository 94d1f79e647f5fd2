#include "testing/postgres_cluster.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fw::testing {
namespace {

int FreePort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof addr;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error("no free port on 127.0.0.1");
  }
  close(fd);
  return ntohs(addr.sin_port);
}

// The newest installed server's programs.
std::string ServerBin() {
  std::string best;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec))
    if (std::filesystem::exists(entry.path() / "bin/initdb") && entry.path().string() > best)
      best = entry.path().string();
  if (best.empty()) throw std::runtime_error("PostgreSQL server not installed (Debian package postgresql)");
  return best + "/bin";
}

}  // namespace

TPostgresCluster::TPostgresCluster() : bin_(ServerBin()), port_(FreePort()) {
  char templ[] = "/tmp/pg-test-XXXXXX";
  if (!mkdtemp(templ)) throw std::runtime_error("cannot make a folder for the test cluster");
  dir_ = templ;
  if (geteuid() == 0) Run("chown postgres " + dir_, false);
  Run(bin_ + "/initdb -D " + dir_ + "/data -A trust -U postgres -E UTF8 --locale=C --no-sync");
  Run(bin_ + "/pg_ctl -D " + dir_ + "/data -w -t 30 -l " + dir_ + "/log -o \"-p " + std::to_string(port_) +
      " -k " + dir_ + " -c listen_addresses=127.0.0.1 -c fsync=off\" start");
}

TPostgresCluster::~TPostgresCluster() {
  try {
    Run(bin_ + "/pg_ctl -D " + dir_ + "/data -m immediate -w stop");
  } catch (...) {
    // The folder goes anyway; a server left behind dies with its files.
  }
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string TPostgresCluster::CreateDatabase(const std::string& name) {
  std::string url = "postgresql://postgres@127.0.0.1:" + std::to_string(port_);
  Run(bin_ + "/psql -q -v ON_ERROR_STOP=1 -d " + url + "/postgres -c \"CREATE DATABASE " + name + "\"");
  return url + "/" + name;
}

std::string TPostgresCluster::Run(const std::string& command, bool asServer) const {
  std::string line = (asServer && geteuid() == 0 ? "runuser -u postgres -- " : "") + command + " 2>&1";
  FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run: " + command);
  std::string out;
  std::array<char, 4096> buf;
  for (size_t n; (n = fread(buf.data(), 1, buf.size(), pipe)) > 0;) out.append(buf.data(), n);
  int status = pclose(pipe);
  if (status != 0) throw std::runtime_error("failed (" + std::to_string(status) + "): " + command + "\n" + out);
  return out;
}

}  // namespace fw::testing
