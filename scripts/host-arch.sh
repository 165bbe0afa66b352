#!/usr/bin/env bash
# Prints win32 when this host runs 32-bit Wine, else win64 (kernels without
# 32-bit support run the 64-bit build of the same sources).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
