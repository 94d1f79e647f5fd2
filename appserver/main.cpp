// The application server program; see cli.h for its commands.
#include <string>
#include <vector>

#include "appserver/cli.h"

int main(int argc, char** argv) {
  return appserver::RunAppServer(std::vector<std::string>(argv + 1, argv + argc));
}
