// Converts its argument, a real, to int the way the picture code once converted sizes. Run by
// the sanitizer build's check that an out-of-range conversion is reported there rather than
// passing as undefined behaviour (GCC's -fsanitize=undefined leaves that class out).
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: gw_float_to_integer_probe REAL\n", stderr);
    return 2;
  }
  const double value = std::strtod(argv[1], nullptr);
  const int converted = static_cast<int>(value);
  std::printf("%d\n", converted);
  return 0;
}
