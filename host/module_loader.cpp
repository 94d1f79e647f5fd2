#include "host/module_loader.h"

#include <dlfcn.h>

#include <filesystem>

#include "base/errors.h"
#include "base/text_case.h"

namespace host {

ModuleLoader::ModuleLoader(std::string modulesDir) : dir_(std::move(modulesDir)) {}

ModuleLoader::~ModuleLoader() { Unload(); }

void* ModuleLoader::Load(const std::string& code) {
  std::string key = fw::UpperCase(code);
  if (auto it = handles_.find(key); it != handles_.end()) return it->second;
  bool safe = !key.empty() && key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") ==
                                  std::string::npos;
  std::filesystem::path path = std::filesystem::path(dir_) / (key + ".so");
  if (!safe || !std::filesystem::exists(path))
    throw fw::Exception("Módulo " + code + " não encontrado.");
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    throw fw::Exception("Não foi possível carregar o módulo " + code + ": " +
                        (why ? why : "erro desconhecido") + ".");
  }
  handles_[key] = handle;
  order_.push_back(key);
  return handle;
}

void ModuleLoader::Start(const std::string& code, const std::string& param) {
  void* handle = Load(code);
  using Entry = void (*)();
  auto entry = reinterpret_cast<Entry>(dlsym(handle, "IniProc"));
  if (!entry)
    throw fw::Exception("Módulo " + code + " inválido: não tem o ponto de entrada IniProc.");
  param_ = param;
  entry();
}

void* ModuleLoader::Symbol(const std::string& code, const std::string& name) const {
  auto it = handles_.find(fw::UpperCase(code));
  return it == handles_.end() ? nullptr : dlsym(it->second, name.c_str());
}

void ModuleLoader::Unload() {
  while (!order_.empty()) {
    dlclose(handles_[order_.back()]);
    handles_.erase(order_.back());
    order_.pop_back();
  }
}

}  // namespace host
