#!/bin/sh
# Builds the fuzz targets into build-fuzz beside the sources and seeds its corpus.
set -e
here=$(cd "$(dirname "$0")" && pwd)
cmake -S "$here" -B "$here/../build-fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
ninja -C "$here/../build-fuzz" archive_reader_fuzz result_page_fuzz registrant_page_fuzz \
  tournament_csv_fuzz federation_import_fuzz
