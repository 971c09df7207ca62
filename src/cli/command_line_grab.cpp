#include "cli/command_line_grab.h"

#include "cli/countdown.h"
#include "cli/grab_area.h"
#include "cli/grab_file_name.h"
#include "cli/message_line.h"
#include "output/bmp_encoder.h"
#include "output/byte_sink.h"
#include "output/jpeg_encoder.h"
#include "output/png_encoder.h"
#include "output/process_signals.h"
#include "output/safe_file_replace.h"
#include "output/unfinished_files.h"
#include "platform/clipboard_keeper.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quorvex {

namespace {

// On two cores a JPEG from this size is worth two parts: at 4K they save a quarter of the grab where
// the second core is free and cost nothing where another program keeps it busy. A smaller one
// (1080p) saves a tenth where it is free but costs as much where it is busy: there it takes two parts
// only where the X server and both parts have a core each.
constexpr long kLeastJpegPixelsForTwoPartsOnTwoCores = 3500000;

// Rows read from the screen at a time: small enough to stay in the cache, large enough for few
// round trips.
constexpr int kGrabBandRows = 32;

std::string cannotWrite(const std::string& path, const std::string& reason)
{
    return "cannot write '" + path + "': " + reason;
}

std::string sizeText(int width, int height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string notEnoughMemory(const PixelRect& region)
{
    return "not enough memory for a " + sizeText(region.width, region.height) + " picture";
}

// Why a read of `region` came back empty: the screen could not be read, or its picture did not fit
// in memory.
std::string missingPictureReason(const PixelRect& region)
{
    const std::unique_ptr<unsigned char[]> room(
        new (std::nothrow) unsigned char[size_t(region.width) * size_t(region.height) * 4]);
    return room ? "the screen could not be read" : notEnoughMemory(region);
}

// An encoder that takes a grab's rows top to bottom and writes its file to a sink as it goes.
class GrabEncoder {
public:
    virtual ~GrabEncoder() = default;
    virtual void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride) = 0;
    // Ends the file, or says why it could not be made.
    virtual Status finish() = 0;
    // For the encoder of a picture's top part: the file's last bytes, after those of the bottom
    // part's encoder `bottom`, of the same kind.
    virtual std::vector<unsigned char> endAfter(const GrabEncoder& /*bottom*/) const { return {}; }
};

class JpegGrabEncoder final : public GrabEncoder {
public:
    // `height` is the whole picture's; the encoder of a part takes that part's rows only.
    JpegGrabEncoder(int width, int height, int quality, ByteSink& sink, JpegPart part = JpegPart::Whole)
        : m_writer(width, height, quality, sink, part)
    {
    }
    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride) override
    {
        m_writer.addRows(rows, count, stride);
    }
    Status finish() override
    {
        m_writer.finish();
        return {};
    }

private:
    BandedJpegWriter m_writer;
};

class PngGrabEncoder final : public GrabEncoder {
public:
    // `region` is the whole picture's; the encoder of a part takes that part's rows only.
    PngGrabEncoder(const PixelRect& region, ByteSink& sink, PngPart part = PngPart::Whole)
        : m_encoder(region.width, region.height, sink, part)
    {
    }
    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride) override
    {
        m_encoder.addRows(rows, count, stride);
    }
    Status finish() override
    {
        const Status finished = m_encoder.finish();
        return finished ? finished : fail("cannot make the PNG file: " + finished.error());
    }
    std::vector<unsigned char> endAfter(const GrabEncoder& bottom) const override
    {
        return pngPartsEnd(m_encoder, static_cast<const PngGrabEncoder&>(bottom).m_encoder);
    }

private:
    PngEncoder m_encoder;
};

class BmpGrabEncoder final : public GrabEncoder {
public:
    BmpGrabEncoder(const PixelRect& region, ByteSink& sink)
        : m_writer(region.width, region.height, sink)
    {
    }
    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride) override
    {
        m_writer.addRows(rows, count, stride);
    }
    Status finish() override
    {
        const Status finished = m_writer.finish();
        return finished ? finished : fail("cannot make the BMP file: " + finished.error());
    }

private:
    BmpBandWriter m_writer;
};

// Two encoders fed the same rows: one read of the screen serves a file and the clipboard.
class TeeEncoder final : public GrabEncoder {
public:
    TeeEncoder(GrabEncoder& first, GrabEncoder& second)
        : m_first(first)
        , m_second(second)
    {
    }
    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride) override
    {
        m_first.addRows(rows, count, stride);
        m_second.addRows(rows, count, stride);
    }
    Status finish() override
    {
        const Status first = m_first.finish();
        const Status second = m_second.finish();
        return first ? second : first;
    }

private:
    GrabEncoder& m_first;
    GrabEncoder& m_second;
};

// What is grabbed, from where, and how it is encoded; `alsoInto`, where given, gets the same rows.
struct Grab {
    ScreenReader& screen;
    PixelRect region;
    GrabFormat format;
    int quality;
    GrabEncoder* alsoInto = nullptr;
};

std::unique_ptr<GrabEncoder> encoderFor(const Grab& grab, ByteSink& sink)
{
    switch (grab.format) {
    case GrabFormat::Jpeg:
        return std::make_unique<JpegGrabEncoder>(grab.region.width, grab.region.height, grab.quality, sink);
    case GrabFormat::Png:
        return std::make_unique<PngGrabEncoder>(grab.region, sink);
    case GrabFormat::Bmp:
        break;
    }
    return std::make_unique<BmpGrabEncoder>(grab.region, sink);
}

// Reads `rect` of the screen into `encoder`: band by band where the screen allows (fresh memory is
// slow to touch, and a whole-screen buffer would be touched only once), else as one whole picture.
Status readInto(ScreenReader& screen, const PixelRect& rect, GrabEncoder& encoder)
{
    int rowsGiven = 0;
    const bool banded = screen.readDesktopInBands(
        rect, kGrabBandRows, [&](const unsigned char* rows, int count, std::ptrdiff_t stride) {
            rowsGiven += count;
            encoder.addRows(rows, count, stride);
        });
    if (!banded && rowsGiven > 0)
        return fail("the screen could not be read");
    if (!banded) {
        const ScreenPixels whole = screen.readDesktop(rect);
        if (whole.isEmpty()) {
            const Status readable = screen.readable();
            return fail(readable ? missingPictureReason(rect) : readable.error());
        }
        encoder.addRows(whole.bits, whole.height, whole.stride);
    }
    return encoder.finish();
}

// `work`'s result, or why it was cut short by running out of memory or by an encoder's failure.
template <typename Work> Status caught(const Grab& grab, Work&& work)
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return fail(notEnoughMemory(grab.region));
    } catch (const NumberedError& error) {
        return fail(error.number() == kOverflowError ? notEnoughMemory(grab.region)
                                                     : std::string("cannot make the ")
                    + (grab.format == GrabFormat::Jpeg ? "JPEG" : "BMP") + " file: " + error.description());
    }
}

// The first row of the bottom part where the grab is worth encoding in two parts, else 0.
int bottomPartRow(const Grab& grab)
{
    switch (grab.format) {
    case GrabFormat::Jpeg:
        if (long(grab.region.width) * grab.region.height < kLeastJpegPixelsForTwoPartsOnTwoCores
            && std::thread::hardware_concurrency() < 3)
            return 0;
        return jpegBottomPartRow(grab.region.width, grab.region.height);
    case GrabFormat::Png:
        return pngBottomPartRow(grab.region.width, grab.region.height);
    case GrabFormat::Bmp:
        break;
    }
    return 0; // written at its places as it comes: nothing to share
}

std::unique_ptr<GrabEncoder> partEncoder(const Grab& grab, ByteSink& sink, bool top)
{
    if (grab.format == GrabFormat::Jpeg)
        return std::make_unique<JpegGrabEncoder>(grab.region.width, grab.region.height, grab.quality, sink,
            top ? JpegPart::Top : JpegPart::Bottom);
    return std::make_unique<PngGrabEncoder>(grab.region, sink, top ? PngPart::Top : PngPart::Bottom);
}

// A JPEG or PNG encoded in two parts at once where the screen reads two rectangles at once: the
// bottom part on a thread of its own into memory, the top part into `sink`, then the bottom part
// after it. Nullopt, with nothing written, where it cannot be (one core, a small picture, a BMP, no
// second thread).
std::optional<Status> encodeInTwoParts(const Grab& grab, ByteSink& sink)
{
    const PixelRect& whole = grab.region;
    const int split = bottomPartRow(grab);
    if (split == 0 || !grab.screen.readsTwoRectanglesAtOnce() || std::thread::hardware_concurrency() < 2)
        return std::nullopt;
    // A PNG's bottom part reads the row above it as well, for its first row's filter.
    const int bottomFrom = grab.format == GrabFormat::Png ? split - 1 : split;
    MemorySink bottomBytes;
    try {
        bottomBytes.reserve(size_t(whole.width) * size_t(whole.height - split)); // a byte a pixel: ample
    } catch (const std::bad_alloc&) {
        // It grows as it is written.
    }
    std::unique_ptr<GrabEncoder> top, bottom;
    Status bottomRead;
    std::thread worker;
    try {
        worker = std::thread([&] {
            bottomRead = caught(grab, [&] {
                bottom = partEncoder(grab, bottomBytes, false);
                return readInto(grab.screen,
                    {whole.x, whole.y + bottomFrom, whole.width, whole.height - bottomFrom}, *bottom);
            });
        });
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    const Status topRead = caught(grab, [&] {
        top = partEncoder(grab, sink, true);
        return readInto(grab.screen, {whole.x, whole.y, whole.width, split}, *top);
    });
    worker.join();
    if (!topRead || !bottomRead)
        return topRead ? bottomRead : topRead;
    if (bottomBytes.error())
        return fail(notEnoughMemory(grab.region));
    sink.append(bottomBytes.bytes().data(), bottomBytes.bytes().size());
    const std::vector<unsigned char> end = top->endAfter(*bottom);
    sink.append(end.data(), end.size());
    return Status();
}

// Grabs the screen and encodes it into `sink`: done when the whole file went to the sink (which keeps
// its own write failures), else why not.
Status encode(const Grab& grab, ByteSink& sink)
{
    if (!grab.alsoInto)
        if (std::optional<Status> inTwoParts = encodeInTwoParts(grab, sink))
            return *inTwoParts;
    return caught(grab, [&] {
        const std::unique_ptr<GrabEncoder> encoder = encoderFor(grab, sink);
        if (!grab.alsoInto)
            return readInto(grab.screen, grab.region, *encoder);
        TeeEncoder both(*encoder, *grab.alsoInto);
        return readInto(grab.screen, grab.region, both);
    });
}

// Grabs into the file at `path`, replacing it safely: the file is written while the screen is read.
Status grabToFile(const Grab& grab, const std::string& path)
{
    Status encoded;
    // A BMP's size is known before its first byte. (Setting a bound aside for a PNG or JPEG, and
    // giving back the rest, cost as much as it saved.)
    const uint64_t expectedSize = grab.format == GrabFormat::Bmp
        ? kBmpHeadersSize + uint64_t(dibStride(grab.region.width)) * uint64_t(grab.region.height)
        : 0;
    const Status written = replaceFileWith(
        path,
        [&](int fd) {
            FileSink sink(fd);
            encoded = encode(grab, sink);
            return encoded ? sink.error() : ECANCELED;
        },
        expectedSize);
    if (!encoded)
        return encoded;
    return written ? written : fail(cannotWrite(path, written.error()));
}

// Makes a new, empty file in `folder` named after `moment`, with a number after the name where a file
// of that name is there already, so that the grab replaces only a file of its own. `path` gets its
// name and `unfinished` remembers it, so that a signal ending the program removes it.
Status reserveNewFile(const std::string& folder, const std::tm& moment, GrabFormat format, std::string& path,
    std::optional<UnfinishedFileName>& unfinished)
{
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        path = prefix + grabFileName(moment, format, attempt);
        const EndingSignalsHeld held; // made and remembered in one step
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            unfinished.emplace(path.c_str());
            return {};
        }
        if (errno != EEXIST)
            return fail("cannot write into '" + folder + "': " + std::strerror(errno));
    }
    return fail("cannot write into '" + folder + "': every name for this moment is taken");
}

bool isFolder(const std::string& path)
{
    struct stat entry { };
    return ::stat(path.c_str(), &entry) == 0 && S_ISDIR(entry.st_mode);
}

// Makes `folder` and the folders above it that are missing, as mkdir -p does.
Status makeFolders(const std::string& folder)
{
    size_t end = 0;
    do {
        end = folder.find('/', end + 1);
        const std::string part = folder.substr(0, end);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return fail("cannot make the folder '" + part + "': " + std::strerror(errno));
    } while (end != std::string::npos && end + 1 < folder.size());
    return isFolder(folder) ? Status() : fail("cannot write into '" + folder + "': it is not a folder");
}

Status grabToNewFileIn(const Grab& grab, const std::string& folder)
{
    if (!isFolder(folder))
        if (Status made = makeFolders(folder); !made)
            return made;
    const std::time_t now = std::time(nullptr);
    std::tm moment{};
    localtime_r(&now, &moment);
    std::string path;
    std::optional<UnfinishedFileName> unfinished;
    if (Status reserved = reserveNewFile(folder, moment, grab.format, path, unfinished); !reserved)
        return reserved;
    Status written = grabToFile(grab, path);
    if (!written)
        ::unlink(path.c_str());
    return written;
}

// Writes all of `bytes` to `fd`: 0, or the errno of the write that failed.
int writeAll(int fd, std::string_view bytes)
{
    // SIGPIPE is ignored (main): a reader that goes away is EPIPE here, reported like any failure.
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        bytes.remove_prefix(size_t(written));
    }
    return 0;
}

// The whole file, made before its first byte goes out: a failed grab writes nothing.
Result<std::vector<unsigned char>> encodeWhole(const Grab& grab)
{
    MemorySink sink;
    if (Status encoded = encode(grab, sink); !encoded)
        return fail(encoded.error());
    if (sink.error())
        return fail(notEnoughMemory(grab.region));
    return sink.take();
}

std::string_view textOf(const std::vector<unsigned char>& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

Status grabToStandardOutput(const Grab& grab)
{
    const Result<std::vector<unsigned char>> file = encodeWhole(grab);
    if (!file)
        return fail(file.error());
    const int error = writeAll(STDOUT_FILENO, textOf(*file));
    return error == 0 ? Status()
                      : fail(std::string("cannot write to standard output: ") + std::strerror(error));
}

// A named pipe, /dev/stdout in a pipeline, /dev/null: nothing there to replace, so the grab goes
// straight in, once it is whole. Opening a named pipe waits for its reader.
Status grabIntoPipeOrDevice(const Grab& grab, const std::string& path)
{
    const Result<std::vector<unsigned char>> file = encodeWhole(grab);
    if (!file)
        return fail(file.error());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(cannotWrite(path, std::strerror(errno)));
    if (::isatty(fd)) {
        ::close(fd);
        return fail(cannotWrite(path, "it is a terminal"));
    }
    int error = writeAll(fd, textOf(*file));
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error == 0 ? Status() : fail(cannotWrite(path, std::strerror(error)));
}

// Where --grab writes.
enum class Destination { File, Folder, StandardOutput, PipeOrDevice };

Destination destinationOf(const std::string& file)
{
    if (file == "-")
        return Destination::StandardOutput;
    if (file.back() == '/')
        return Destination::Folder;
    struct stat entry { };
    if (::stat(file.c_str(), &entry) != 0)
        return Destination::File;
    if (S_ISDIR(entry.st_mode))
        return Destination::Folder;
    return S_ISFIFO(entry.st_mode) || S_ISCHR(entry.st_mode) ? Destination::PipeOrDevice : Destination::File;
}

// Why a grab cannot go to `file`, found before the delay, the selection and the reading of the
// screen rather than after them; empty where it can, as far as can be told (the write says the rest).
std::string unwritableReason(const std::string& file, Destination destination)
{
    if (destination == Destination::Folder) {
        // The folder, or for one still to be made the nearest one above it, in which it is made.
        std::string folder = file;
        struct stat entry { };
        while (::stat(folder.c_str(), &entry) != 0 && errno == ENOENT && folder != folderOf(folder))
            folder = folderOf(folder);
        if (::stat(folder.c_str(), &entry) != 0 || !S_ISDIR(entry.st_mode)
            || ::access(folder.c_str(), W_OK | X_OK) == 0)
            return {};
        return "cannot write into '" + folder + "': " + std::strerror(errno);
    }
    struct stat entry { };
    const bool there = ::stat(file.c_str(), &entry) == 0;
    if (there && S_ISBLK(entry.st_mode))
        return cannotWrite(file, "it is a block device");
    if (there && S_ISSOCK(entry.st_mode))
        return cannotWrite(file, "it is a socket");
    if (destination == Destination::PipeOrDevice)
        return ::access(file.c_str(), W_OK) == 0 ? std::string() : cannotWrite(file, std::strerror(errno));
    if (isReadOnlyFile(file))
        return cannotWrite(file, kReadOnlyFileReason);
    // A new file, or one replacing another, is made in its folder; a link's target may lie elsewhere.
    struct stat link { };
    const bool isLink = ::lstat(file.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    if (!isLink && ::access(folderOf(file).c_str(), W_OK | X_OK) != 0)
        return cannotWrite(file, std::strerror(errno));
    return {};
}

Status grabInto(const Grab& grab, const std::string& file, Destination destination)
{
    switch (destination) {
    case Destination::StandardOutput:
        return grabToStandardOutput(grab);
    case Destination::Folder:
        return grabToNewFileIn(grab, file);
    case Destination::PipeOrDevice:
        return grabIntoPipeOrDevice(grab, file);
    case Destination::File:
        break;
    }
    return grabToFile(grab, file);
}

GrabOutcome failed(std::string line)
{
    return {1, std::move(line)};
}

// The grab onto the clipboard as PNG, kept there by a process of its own once this one ends, and into
// the file as well where one is given: both made while the screen is read once.
GrabOutcome grabWithClipboard(ScreenReader& screen, const PixelRect& region, GrabFormat format,
    const CommandLine& command, Destination destination)
{
    const Result<ClipboardDisplay> display = sessionClipboardDisplay();
    if (!display)
        return failed(display.error());
    MemorySink png;
    if (command.file.empty()) {
        if (const Status encoded = encode({screen, region, GrabFormat::Png, 0}, png); !encoded)
            return failed(encoded.error());
    } else {
        std::optional<PngGrabEncoder> clipboardPng;
        try {
            clipboardPng.emplace(region, png);
        } catch (const std::bad_alloc&) {
            return failed(notEnoughMemory(region));
        }
        const Grab grab{screen, region, format, command.quality.value_or(kJpegSaveQuality), &*clipboardPng};
        if (const Status written = grabInto(grab, command.file, destination); !written)
            return failed(written.error());
    }
    if (png.error())
        return failed(notEnoughMemory(region));
    ClipboardOffer offer{"image/png", {}};
    {
        const std::vector<unsigned char> bytes = png.take();
        offer.bytes.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    const Status kept = keepClipboard({std::move(offer)}, *display);
    return kept ? GrabOutcome{} : failed(kept.error());
}

} // namespace

GrabOutcome runCommandLineGrab(const CommandLine& command, const SessionEnvironment& session)
{
    if (const Status startable = sessionFailure(session); !startable)
        return failed(startable.error());
    const bool toFile = !command.file.empty(); // else only to the clipboard, or only printed
    const Destination destination = toFile ? destinationOf(command.file) : Destination::File;
    if (toFile && destination != Destination::StandardOutput)
        if (std::string reason = unwritableReason(command.file, destination); !reason.empty())
            return failed(std::move(reason));
    std::optional<GrabFormat> format = command.format;
    if (!format && toFile && (destination == Destination::File || destination == Destination::PipeOrDevice))
        format = grabFormatForName(command.file);
    // PNG where the name does not decide and names no file of its own: a folder, -, a pipe.
    if (!format && (!toFile || destination != Destination::File))
        format = GrabFormat::Png;
    if (!format)
        return failed(
            "'" + command.file + "': only names ending in PNG, JPG or BMP can be written (or give --format)");
    if (command.quality && *format != GrabFormat::Jpeg)
        return {2, "--quality goes with JPEG only (see --help)"};
    if (destination == Destination::StandardOutput && ::isatty(STDOUT_FILENO))
        return failed("standard output is a terminal: pipe the picture on or redirect it to a file");
    waitCountingDown(command.delaySeconds, command.area == GrabArea::Select ? "selecting" : "grabbing");

    // What is worth knowing but no failure (the desktop is about to ask a question) is said at once.
    // KWin's screenshot takes the focused window or the pointer itself where it is the source.
    const KWinCapture kwin{command.area == GrabArea::Window, command.pointer};
    Result<OpenedScreenReader> opened = openScreenReader(
        session,
        [](const std::string& line) { std::fprintf(stderr, "quorvex7: %s\n", oneLine(line).c_str()); }, kwin);
    if (!opened)
        return failed(opened.error());
    Result<GrabAreaChoice> chosen = chooseGrabArea(command, session, std::move(opened->reader), opened->kind);
    if (!chosen)
        return failed(chosen.error());
    if (chosen->cancelled)
        return failed("selection cancelled");
    const PixelRect region = chosen->region;
    if (command.print) {
        std::printf("%s\n", regionText(region).c_str());
        return std::fflush(stdout) == 0 ? GrabOutcome{} : failed("cannot write to standard output");
    }

    if (command.clipboard)
        return grabWithClipboard(*chosen->reader, region, *format, command, destination);
    const Grab grab{*chosen->reader, region, *format, command.quality.value_or(kJpegSaveQuality)};
    const Status written = grabInto(grab, command.file, destination);
    return written ? GrabOutcome{} : failed(written.error());
}

} // namespace quorvex
