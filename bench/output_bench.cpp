// Saving pictures: each writer beside the plainest way to do the same work.
//   JPEG:  WriteJpegFile  vs  tjCompress2 on the same buffer + writing the bytes,  and  QImage::save
//   BMP:   writeBmpFile   vs  one write of the same bytes (plain, with fdatasync, or safely replaced)
//   DIB:   CreateFromPicture of 1080p  vs  memcpy of the same number of bytes
// Files go to QDir::tempPath() (TMPDIR; TMPDIR=/dev/shm leaves the disk out). The synced anchor
// shows what an fdatasync before the rename would cost; the writers do not sync.
#include "output/bmp_writer.h"
#include "output/dib_section.h"
#include "output/jpeg_writer.h"
#include "output/safe_file_replace.h"

#include "bench_pictures.h"
#include <QCoreApplication>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <turbojpeg.h>
#include <unistd.h>

using namespace quorvex;

namespace {

const QSize kSizes[] = {{1920, 1080}, {3840, 2160}};

QSize sizeOf(const benchmark::State& state)
{
    return kSizes[state.range(0)];
}

void setLabel(benchmark::State& state, const char* note = "")
{
    const QSize size = sizeOf(state);
    state.SetLabel(QStringLiteral("%1x%2%3").arg(size.width()).arg(size.height()).arg(note).toStdString());
}

bool writeOnce(const char* path, const void* bytes, size_t size, bool sync)
{
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = ::write(fd, bytes, size) == ssize_t(size);
    if (sync)
        ok = ::fdatasync(fd) == 0 && ok;
    return ::close(fd) == 0 && ok;
}

void BM_WriteJpegFile(benchmark::State& state)
{
    QTemporaryDir dir;
    cDIBSection dib;
    dib.CreateFromPicture(screenLikePicture(sizeOf(state).width(), sizeOf(state).height()));
    const QString path = dir.filePath("shot.jpg");
    for (auto _ : state)
        WriteJpegFile(dib, path, 90);
    setLabel(state);
}

// How the anchors write their bytes: one plain write, one write and fdatasync, or the same safe
// replace WriteJpegFile uses (temporary file, rename).
enum WriteMode { PlainWrite, SyncedWrite, SafeReplace };

bool writeAnchor(WriteMode mode, const QString& path, const void* bytes, size_t size)
{
    if (mode == SafeReplace)
        return replaceFileContents(
            QFile::encodeName(path).toStdString(), {{static_cast<const char*>(bytes), size}})
            .ok();
    return writeOnce(QFile::encodeName(path).constData(), bytes, size, mode == SyncedWrite);
}

const char* const kWriteModeNotes[] = {" +write", " +write+fdatasync", " +safe replace"};

void BM_TjCompress2AndWrite(benchmark::State& state)
{
    QTemporaryDir dir;
    cDIBSection dib;
    dib.CreateFromPicture(screenLikePicture(sizeOf(state).width(), sizeOf(state).height()));
    const QString path = dir.filePath("shot.jpg");
    const auto mode = WriteMode(state.range(1));
    const std::unique_ptr<void, int (*)(tjhandle)> encoder(tjInitCompress(), tjDestroy);
    for (auto _ : state) {
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        if (tjCompress2(encoder.get(), dib.DIBSectionBitsPtr(), dib.Width(), dib.BytesPerScanLine(),
                dib.Height(), TJPF_BGR, &jpeg, &size, TJSAMP_420, 90, TJFLAG_BOTTOMUP)
                != 0
            || !writeAnchor(mode, path, jpeg, size))
            state.SkipWithError("encoding or writing failed");
        tjFree(jpeg);
    }
    setLabel(state, kWriteModeNotes[mode]);
}

void BM_QtJpegWriter(benchmark::State& state)
{
    if (!QImageWriter::supportedImageFormats().contains("jpg")) {
        state.SkipWithError("Qt has no JPEG writer plugin here");
        return;
    }
    QTemporaryDir dir;
    const QImage picture = screenLikePicture(sizeOf(state).width(), sizeOf(state).height());
    const QString path = dir.filePath("shot.jpg");
    for (auto _ : state)
        if (!picture.save(path, "JPG", 90))
            state.SkipWithError("QImage::save failed");
    setLabel(state);
}

void BM_WriteBmpFile(benchmark::State& state)
{
    QTemporaryDir dir;
    cDIBSection dib;
    dib.CreateFromPicture(screenLikePicture(1920, 1080));
    const QString path = dir.filePath("shot.bmp");
    for (auto _ : state)
        if (!writeBmpFile(dib, path).ok())
            state.SkipWithError("writing failed");
    state.SetBytesProcessed(state.iterations() * (kBmpHeadersSize + dib.bitmapInfo().biSizeImage));
}

void BM_SingleWriteOfBmpBytes(benchmark::State& state)
{
    QTemporaryDir dir;
    cDIBSection dib;
    dib.CreateFromPicture(screenLikePicture(1920, 1080));
    const QByteArray bytes = bmpFileHeaders(dib)
        + QByteArray(reinterpret_cast<const char*>(dib.DIBSectionBitsPtr()), dib.bitmapInfo().biSizeImage);
    const QString path = dir.filePath("shot.bmp");
    const auto mode = WriteMode(state.range(0));
    for (auto _ : state)
        if (!writeAnchor(mode, path, bytes.constData(), size_t(bytes.size())))
            state.SkipWithError("writing failed");
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.SetLabel(kWriteModeNotes[mode]);
}

void BM_CreateFromPicture(benchmark::State& state)
{
    const QImage picture = screenLikePicture(1920, 1080);
    for (auto _ : state) {
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        benchmark::DoNotOptimize(dib.DIBSectionBitsPtr());
    }
    state.SetBytesProcessed(state.iterations() * dibImageSize(1920, 1080));
}

void BM_LoadPictureBltIntoExistingSection(benchmark::State& state)
{
    const QImage picture = screenLikePicture(1920, 1080);
    cDIBSection dib;
    dib.Create(1920, 1080);
    for (auto _ : state) {
        dib.LoadPictureBlt(picture, 0, 0, -1, -1);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * dibImageSize(1920, 1080));
}

void BM_MemcpyOfTheSameBytes(benchmark::State& state)
{
    const size_t size = size_t(dibImageSize(1920, 1080));
    const std::unique_ptr<char[]> source(new char[size]);
    std::memset(source.get(), 7, size);
    const bool fresh = state.range(0) != 0;
    std::unique_ptr<char[]> kept(new char[size]);
    std::memset(kept.get(), 0, size);
    for (auto _ : state) {
        std::unique_ptr<char[]> target(fresh ? new char[size] : nullptr);
        std::memcpy(fresh ? target.get() : kept.get(), source.get(), size);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * qint64(size));
    state.SetLabel(fresh ? "into a new buffer" : "into a kept buffer");
}

} // namespace

BENCHMARK(BM_WriteJpegFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TjCompress2AndWrite)
    ->ArgsProduct({{0, 1}, {PlainWrite, SyncedWrite, SafeReplace}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtJpegWriter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBmpFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SingleWriteOfBmpBytes)
    ->Arg(PlainWrite)
    ->Arg(SyncedWrite)
    ->Arg(SafeReplace)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateFromPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPictureBltIntoExistingSection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyOfTheSameBytes)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // Qt's image plugins are found through the application
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
