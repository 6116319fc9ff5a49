// In the home-screen process, UIApplication::sharedApplication() is a SpringBoard, so that code
// asking for the home screen's own operations finds them by casting.
#include "SpringBoard/SpringBoard.h"

namespace {

[[maybe_unused]] const bool kDeclared = UIApplication::declarePrincipalClass(
    SpringBoard::kClassName,
    [] { return std::shared_ptr<UIApplication>(std::make_shared<SpringBoard>()); });

}  // namespace
