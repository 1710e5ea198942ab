#!/bin/bash
# The shipped executable is a 32-bit Windows GUI program.
set -u
exe=${1:?usage: check-exe.sh Tikavo_T.exe}
kind=$(file -b "$exe")
echo "file: $kind"
[[ $kind == "PE32 executable (GUI) Intel 80386"* ]] || { echo "FAIL: not a 32-bit GUI program"; exit 1; }
echo "ok"
