#!/usr/bin/env bash
# Installs every Debian 12 package Vespario needs to build, run, test and benchmark.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
    g++ cmake ninja-build \
    libgtest-dev libgmock-dev libbenchmark-dev libpcre2-dev liberfa-dev libsqlite3-dev \
    xvfb xauth fonts-dejavu-core \
    clang-format \
    qt6-base-dev qt6-multimedia-dev qt6-svg-dev libgl-dev poppler-utils \
    libcurl4-openssl-dev libxdo-dev \
    unrtf tidy python3-html5lib
