// The application server program; see cli.h for its commands.
#include <malloc.h>

#include <string>
#include <vector>

#include "appserver/cli.h"

int main(int argc, char** argv) {
  // Every connection has a thread of its own. Left alone, glibc gives such
  // threads arenas of their own, up to 8 per core, and each keeps what its
  // largest list took; two arenas are shared by all instead, and buffers
  // of a megabyte or more are mapped apart, so freeing one returns it.
  mallopt(M_ARENA_MAX, 2);
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  return appserver::RunAppServer(std::vector<std::string>(argv + 1, argv + argc));
}
