// The classes a process knows by name: one registry per simulated process.
//
// Which classes a process has depends on what the process is, as a device process gets the
// classes of the system images it is built from: a framework of the platform layer declares
// its classes, at host load time, for the processes that have them (SpringBoard's own
// classes for the process named "SpringBoard"; see SystemClassDeclaration.h). A process's registry
// is made on first use and holds a fresh copy of each class declared for the process's name, with
// the method table as declared, so a respring starts from unhooked classes.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ObjCRuntime/ObjCClass.h"

class ObjCClassRegistry {
 public:
  // Fills a new class's method table.
  using Setup = void (*)(ObjCClass& cls);

  // The current process's registry.
  static ObjCClassRegistry& current();

  // objc_getClass: the class named `name`, or nullptr.
  Class lookUp(std::string_view name) const;
  // Adds the class `name` to this process (objc_allocateClassPair + register). A class declared
  // for any process under that name gets its declared methods; an existing one is returned
  // unchanged.
  Class registerClass(const std::string& name);

  explicit ObjCClassRegistry(std::string_view processName);

 private:
  std::map<std::string, std::unique_ptr<ObjCClass>, std::less<>> classes_;
};
