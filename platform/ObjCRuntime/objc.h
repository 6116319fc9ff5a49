// The runtime's basic handles. A class is known by name in its process's class registry
// (ObjCClassRegistry); its instance methods live in a table keyed by selector name whose
// entries are plain function pointers, so that a hook can swap one for another.
//
// An IMP is stored type-erased; whoever calls it casts it back to the exact function type it
// was registered with (the receiver, the selector, then the arguments). ObjCClass records
// that type next to each entry, and the typed accessors in runtime.h refuse a mismatch.
#pragma once

#include <string_view>

class ObjCClass;

// A class object of the current process, or nullptr ("Nil"). Valid while its process runs.
using Class = ObjCClass*;
// A selector: the method's name in keyword style, e.g. "applicationDidFinishLaunching:".
using SEL = std::string_view;
// A method implementation, type-erased.
using IMP = void (*)();

template <typename F>
IMP imp_cast(F* function) {
  return reinterpret_cast<IMP>(function);
}
