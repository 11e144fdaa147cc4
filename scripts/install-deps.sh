#!/bin/sh
# Installs the Debian packages Kestrel needs to build, test and benchmark.
set -e
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends \
  ca-certificates cmake make g++ pkg-config \
  zlib1g-dev libzip-dev libarchive-dev libexpat1-dev libssl-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev \
  qt6-base-dev libgl-dev \
  python3 zip unzip xvfb xauth \
  help2man gzip dpkg-dev file desktop-file-utils appstream man-db \
  clang libclang-rt-14-dev llvm
