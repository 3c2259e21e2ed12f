// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// A fuzz target's main in the suite: the target runs once on each seed of the folder given,
// so every build checks what the fuzzers check; a failed property aborts.

#include "common/testenvironment.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    const QFileInfoList seeds =
        argc == 2 ? QDir(QFile::decodeName(argv[1])).entryInfoList(QDir::Files) : QFileInfoList();
    for (const QFileInfo& seed : seeds) {
        const QByteArray bytes = ReadAll(seed.filePath());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    }
    return seeds.isEmpty() ? 1 : 0; // an empty or missing corpus is a mistake
}
