#!/usr/bin/env bash
# Inspects one linked deliverable of the device build with Debian's LLVM tools, reporting every
# failed check (not only the first).
#
#   inspect-binary.sh library|bundle rootful|rootless FILE
#
# Exit status: 0 all checks pass, 1 some fail, 77 the file is absent (not built yet: run
# ./package.sh), 64 usage.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/expectations.sh"
objdump=${LLVM_OBJDUMP:-llvm-objdump-14}
nm=${LLVM_NM:-llvm-nm-14}

if [ "$#" -ne 3 ]; then
  echo "usage: $0 library|bundle rootful|rootless FILE" >&2
  exit 64
fi
kind=$1 layout=$2 file=$3
case "$kind/$layout" in
  library/rootful | library/rootless | bundle/rootful | bundle/rootless) ;;
  *) echo "inspect-binary.sh: unknown kind or layout '$kind/$layout'" >&2; exit 64 ;;
esac
if [ ! -f "$file" ]; then
  echo "SKIP: $file is not built (./package.sh builds it)"
  exit 77
fi

failures=0
check() {  # check DESCRIPTION CONDITION-EXIT-STATUS [DETAIL]
  if [ "$2" -eq 0 ]; then
    echo "ok:   $1"
  else
    echo "FAIL: $1${3:+ ($3)}"
    failures=$((failures + 1))
  fi
}
contains() {  # contains WORD LIST...
  local word=$1 item
  shift
  for item in "$@"; do [ "$item" = "$word" ] && return 0; done
  return 1
}

headers=$("$objdump" --macho --private-headers "$file")
header_line=$(grep -A1 '^ *magic' <<<"$headers" | tail -1)
read -r _ cputype cpusubtype _ filetype _ <<<"$header_line"
check "arm64 (no arm64e)" "$([ "$cputype" = ARM64 ] && [ "$cpusubtype" = ALL ]; echo $?)" \
  "cpu $cputype $cpusubtype"
expected_type=DYLIB
[ "$kind" = bundle ] && expected_type=BUNDLE
check "file type MH_$expected_type" "$([ "$filetype" = "$expected_type" ]; echo $?)" "$filetype"

build_version=$(grep -A5 'cmd LC_BUILD_VERSION' <<<"$headers")
platform=$(awk '$1 == "platform" {print $2}' <<<"$build_version")
minos=$(awk '$1 == "minos" {print $2}' <<<"$build_version")
check "platform iOS, minimum 14.0" "$([ "$platform" = ios ] && [ "$minos" = 14.0 ]; echo $?)" \
  "platform '$platform' minos '$minos'"

# A load command's name or path, one per line, for the command named.
load_names() {
  awk -v cmd="$1" '$1 == "cmd" {inside = ($2 == cmd)} inside && ($1 == "name" || $1 == "path") {print $2}' \
    <<<"$headers"
}
id_name=$(load_names LC_ID_DYLIB)
if [ "$kind" = library ]; then
  expected_id=library_install_name_$layout
  check "install name ${!expected_id}" "$([ "$id_name" = "${!expected_id}" ]; echo $?)" \
    "${id_name:-none}"
else
  check "no install name (a bundle)" "$([ -z "$id_name" ]; echo $?)" "$id_name"
fi

mapfile -t rpaths < <(load_names LC_RPATH)
if [ "$layout" = rootless ]; then
  for rpath in "${rootless_rpaths[@]}"; do
    check "rpath $rpath" "$(contains "$rpath" "${rpaths[@]}"; echo $?)"
  done
else
  check "no rpaths (rootful)" "$([ "${#rpaths[@]}" -eq 0 ]; echo $?)" "${rpaths[*]}"
fi

mapfile -t dylibs < <(load_names LC_LOAD_DYLIB; load_names LC_LOAD_WEAK_DYLIB)
prefix=framework_prefix_$layout
for dylib in "${dylibs[@]}"; do
  case "$dylib" in
    *Gyrowhirl.dylib | *gyrowhirlprefs*)
      check "does not link the other deliverable" 1 "$dylib" ;;
    *CydiaSubstrate.framework* | *AltList.framework*)
      framework=$(basename "$dylib")
      expected="${!prefix}/$framework.framework/$framework"
      check "$framework linked as $expected" "$([ "$dylib" = "$expected" ]; echo $?)" "$dylib" ;;
  esac
done

check "code signature (LC_CODE_SIGNATURE)" "$(grep -q 'cmd LC_CODE_SIGNATURE' <<<"$headers"; echo $?)"

sections=$("$objdump" --macho --section-headers "$file")
check "load-time initialisers (__mod_init_func or __init_offsets)" \
  "$(grep -qE '__mod_init_func|__init_offsets' <<<"$sections"; echo $?)"

# Each class's record in the class list: its symbol, then isa, then its superclass.
metadata=$("$objdump" --macho --objc-meta-data "$file")
classes=library_classes[@]
[ "$kind" = bundle ] && classes=bundle_classes[@]
for entry in "${!classes}"; do
  name=${entry%%:*} super=${entry#*:}
  found=$(awk -v name="_OBJC_CLASS_\$_$name" '
    $3 == name && $1 ~ /^[0-9a-f]+$/ {want = 1; next}
    want && $1 == "superclass" {print $3; exit}' <<<"$metadata")
  check "Objective-C class $name : $super" "$([ "$found" = "_OBJC_CLASS_\$_$super" ]; echo $?)" \
    "${found:-class not defined}"
done

# Every undefined symbol is bound, in the two-level namespace, to an expected library.
allowed=("${library_dylibs[@]}")
[ "$kind" = bundle ] && allowed=("${bundle_dylibs[@]}")
unbound=()
while IFS= read -r line; do
  symbol=$(awk '{for (i = 1; i <= NF; i++) if ($i == "external") {print $(i + 1); exit}}' <<<"$line")
  if [[ "$line" =~ \(from\ ([^\)]+)\)$ ]] && contains "${BASH_REMATCH[1]}" "${allowed[@]}"; then
    continue
  fi
  unbound+=("$symbol (${BASH_REMATCH[1]:-no library: looked up at load time})")
done < <("$nm" -m -u "$file")
check "every undefined symbol bound to one of: ${allowed[*]}" "$([ "${#unbound[@]}" -eq 0 ]; echo $?)" \
  "${#unbound[@]} not"
if ((${#unbound[@]})); then
  echo "      symbols not bound to an expected library (demangled):"
  printf '%s\n' "${unbound[@]}" | c++filt -_ | sed 's/^/        /'
fi

echo "$file: $failures failed"
[ "$failures" -eq 0 ]
