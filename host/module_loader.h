// ModuleLoader: loads host modules by module code and starts them.
//
// The module with code ZQV41800 is the shared library ZQV41800.so in the
// modules folder. Start(code, param) loads it on first use (and keeps it
// loaded), finds its exported entry procedure IniProc and calls it; the
// parameter is kept for the module (Param()) — modules of this system take
// none. A missing library or a library without IniProc raises
// fw::Exception with a message for the operator ("Módulo ZQV47700 não
// encontrado."); whatever IniProc raises passes on. Unload() unloads every
// module, last loaded first. User-interface thread only.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace host {

class ModuleLoader {
 public:
  explicit ModuleLoader(std::string modulesDir);
  ~ModuleLoader();
  ModuleLoader(const ModuleLoader&) = delete;
  ModuleLoader& operator=(const ModuleLoader&) = delete;

  void Start(const std::string& code, const std::string& param = {});
  bool Loaded(const std::string& code) const { return handles_.count(code) > 0; }
  // Address of an exported symbol of a loaded module, or null.
  void* Symbol(const std::string& code, const std::string& name) const;
  const std::string& Param() const { return param_; }
  void Unload();

 private:
  void* Load(const std::string& code);

  std::string dir_;
  std::map<std::string, void*> handles_;
  std::vector<std::string> order_;
  std::string param_;
};

}  // namespace host
