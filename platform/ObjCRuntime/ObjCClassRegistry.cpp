#include "ObjCRuntime/ObjCClassRegistry.h"

#include <vector>

#include "Device/Process.h"
#include "ObjCRuntime/SystemClassDeclaration.h"

namespace {

struct Declaration {
  std::string processName;
  std::string className;
  ObjCClassRegistry::Setup setup;
};

// Written only by static initialisers while the platform library loads, read-only after.
std::vector<Declaration>& declarations() {
  static std::vector<Declaration> list;
  return list;
}

const ProcessLocal<std::unique_ptr<ObjCClassRegistry>> processRegistry;

}  // namespace

bool declareSystemClass(std::string processName, std::string className,
                        ObjCClassRegistry::Setup setup) {
  declarations().push_back({std::move(processName), std::move(className), setup});
  return true;
}

ObjCClassRegistry& ObjCClassRegistry::current() {
  auto& registry = processRegistry.get();
  if (!registry) registry = std::make_unique<ObjCClassRegistry>(Process::current().name());
  return *registry;
}

ObjCClassRegistry::ObjCClassRegistry(std::string_view processName) {
  for (const auto& declaration : declarations()) {
    if (declaration.processName == processName) registerClass(declaration.className);
  }
}

Class ObjCClassRegistry::lookUp(std::string_view name) const {
  auto it = classes_.find(name);
  return it == classes_.end() ? nullptr : it->second.get();
}

Class ObjCClassRegistry::registerClass(const std::string& name) {
  if (Class existing = lookUp(name)) return existing;
  auto cls = std::make_unique<ObjCClass>(name);
  for (const auto& declaration : declarations()) {
    if (declaration.className == name && declaration.setup) {
      declaration.setup(*cls);
      break;
    }
  }
  Class handle = cls.get();
  classes_.emplace(name, std::move(cls));
  return handle;
}
