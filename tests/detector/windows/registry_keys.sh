#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# registry_keys.sh present|absent: checks, with Wine's reg, that every key the
# control's registration writes is there, or that not one of them is left.
set -u
want=$1
status=0
class='HKCR\CLSID\{647FF8DE-A292-4C63-BBFF-03FA5C4785EF}'

# One value of a key must read as expected: value name ("" for the default), text.
expect() {
  if ! wine reg query "$1" $2 2>/dev/null | tr -d '\r' | grep -qF -- "$3"; then
    echo "$1 $2 does not hold $3"
    status=1
  fi
}
if [ "$want" = present ]; then
  expect "$class\\InprocServer32" /ve '\Echodet.ocx'
  expect "$class\\InprocServer32" '/v ThreadingModel' Apartment
  expect "$class\\ProgID" /ve Echodet.Cards
  expect "$class\\TypeLib" /ve '{161B1695-2A86-4F33-ACA9-B01826097625}'
  expect 'HKCR\Echodet.Cards\CLSID' /ve '{647FF8DE-A292-4C63-BBFF-03FA5C4785EF}'
  expect "$class" '/s' 'Control'
fi

for key in \
  'HKCR\CLSID\{647FF8DE-A292-4C63-BBFF-03FA5C4785EF}' \
  'HKCR\Echodet.Cards' \
  'HKCR\TypeLib\{161B1695-2A86-4F33-ACA9-B01826097625}' \
  'HKCR\Interface\{A7BAFD64-B801-4C2A-B3C9-242D1C2A5A6D}' \
  'HKCR\Interface\{BC9DA284-950A-4B61-B31A-CD02EA92FF24}'; do
  if wine reg query "$key" >/dev/null 2>&1; then found=present; else found=absent; fi
  if [ "$found" != "$want" ]; then
    echo "$key is $found"
    status=1
  fi
done
exit $status
