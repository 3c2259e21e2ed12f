// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// A fuzz target's main in the suite: the target runs once on each seed of its corpus folder,
// so every build checks what the fuzzers check; a failed property aborts.

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    const QFileInfoList seeds =
        argc == 2 ? QDir(QFile::decodeName(argv[1])).entryInfoList(QDir::Files) : QFileInfoList();
    for (const QFileInfo& seed : seeds) {
        QFile file(seed.filePath());
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    }
    std::printf("%lld seeds\n", static_cast<long long>(seeds.size()));
    return seeds.isEmpty() ? 1 : 0;
}
