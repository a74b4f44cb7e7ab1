#!/usr/bin/env bash
# The fence between the program's three libraries, read from the includes
# themselves: the Qt headers share one include root, so the compiler alone
# would let a rule reach for a Gui header.
#   src/rules   the pure rules: Qt Core and the rules
#   src/canvas  the canvas: Qt Core and Gui, the rules and the canvas
#   src/window  the window: any Qt module, all three libraries
# and nothing in src/ includes the page's code in web/.
# Usage: check-fence.sh QT_INCLUDE_ROOT [SRC_DIR]
# (QT_INCLUDE_ROOT holds QtCore/, QtGui/, QtWidgets/ ...). Prints each
# include that crosses the fence and exits 1 if there is one.
set -u
qt_root=${1:?the Qt include root}
src=${2:-$(dirname "$0")/../src}
src=$(cd "$src" && pwd)

declare -A qt_modules=([rules]="QtCore" [canvas]="QtCore QtGui" [window]="*")
declare -A roots=([rules]="rules" [canvas]="rules canvas" [window]="rules canvas window")

# The Qt module that holds an angle-bracket header, or nothing for a
# header that is not Qt's (the standard library, the system).
qt_module_of() {
    local header=$1
    if [[ $header == Qt*/* ]]; then
        echo "${header%%/*}"
        return
    fi
    local dir
    for dir in "$qt_root"/Qt*/; do
        [[ -e $dir$header ]] && { basename "$dir"; return; }
    done
}

crossings=0
cross() {
    echo "$1: $2" >&2
    crossings=$((crossings + 1))
}

for library in rules canvas window; do
    while IFS= read -r -d '' file; do
        while IFS= read -r line; do
            if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^>]+)\> ]]; then
                header=${BASH_REMATCH[1]}
                module=$(qt_module_of "$header")
                [[ -z $module || ${qt_modules[$library]} == "*" ]] && continue
                [[ " ${qt_modules[$library]} " == *" $module "* ]] ||
                    cross "${file#"$src"/}" "<$header> is Qt's $module, which $library may not use"
            elif [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
                header=${BASH_REMATCH[1]}
                # Found beside the including file, else under one of the
                # roots this library may see; it must stay inside those.
                found=
                for candidate in "$(dirname "$file")/$header" $(for r in ${roots[$library]}; do echo "$src/$r/$header"; done); do
                    [[ -e $candidate ]] || continue
                    candidate=$(realpath "$candidate")
                    for r in ${roots[$library]}; do
                        [[ $candidate == "$src/$r/"* ]] && found=$candidate
                    done
                    break
                done
                [[ -n $found ]] || cross "${file#"$src"/}" "\"$header\" is not among what $library may see (${roots[$library]})"
            fi
        done <"$file"
    done < <(find "$src/$library" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done

if ((crossings > 0)); then
    echo "check-fence: $crossings include(s) cross the fence between the libraries" >&2
    exit 1
fi
echo "check-fence: every include in src/ stays on its side"
