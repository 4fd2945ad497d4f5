#!/usr/bin/env bash
# Renders the sample intake receipt and issue document in docs/ from a demo shop:
# repaxo-admin print writes the PDFs, pdftoppm (poppler-utils) turns them into PNGs.
# Usage: tools/print-samples.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shop=$(mktemp -d)
trap 'rm -rf "$shop"' EXIT
admin="$build/bin/repaxo-admin"
db="$shop/rpx3.db"
export XDG_CONFIG_HOME="$shop/config" XDG_RUNTIME_DIR="$shop/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
"$admin" init-db "$db" >/dev/null
"$admin" --db "$db" demo-data --orders 400 --seed 7 >/dev/null 2>&1
setting() { "$admin" --db "$db" config set "$1" "$2"; }
setting ShopName "GSM Servis Řehoř s.r.o."
setting ShopAddress "Husova 12
602 00 Brno"
setting ShopIdentification "IČ: 12345678, DIČ: CZ12345678"
setting CashName "A"
setting OrderWwwUrl "https://servis.example.cz/zakazky.php"
setting AgreementText "Zákazník souhlasí s provedením opravy do výše předběžné ceny. Zařízení \
nevyzvednuté do 90 dnů od termínu opravy bude zlikvidováno. Záruka na opravu je 3 měsíce a \
nevztahuje se na mechanické poškození ani vniknutí tekutiny. Servis neodpovídá za data \
v zařízení; zálohu si zákazník pořídí sám."
if [ -x /usr/bin/convert ]; then
  /usr/bin/convert -size 200x200 xc:white -fill '#1f5fa8' -draw 'roundrectangle 10,10 190,190 30,30' \
    -fill white -font Liberation-Sans-Bold -pointsize 90 -gravity center -annotate 0 'GR' \
    "$shop/logo.png"
  "$admin" config set LogoFileName "$shop/logo.png"
  setting LogoOptions S
fi
# The newest demo order is a device just taken in; three before it one that is handed back.
last=$("$admin" --db "$db" summary | sed -n 's/^Last number of [0-9]*:[[:space:]]*//p')
printf -v issued '%s-%05d' "${last%-*}" $((10#${last#*-} - 3))
# Dates in the system's short format: Czech.
LC_ALL=cs_CZ.UTF-8 "$admin" --db "$db" print receipt "$last" --pdf "$shop/receipt.pdf" >/dev/null
LC_ALL=cs_CZ.UTF-8 "$admin" --db "$db" print issue "$issued" --pdf "$shop/issue.pdf" >/dev/null
pdftoppm -r 80 -png -singlefile "$shop/receipt.pdf" "$top/docs/print-receipt"
pdftoppm -r 80 -png -singlefile "$shop/issue.pdf" "$top/docs/print-issue"
