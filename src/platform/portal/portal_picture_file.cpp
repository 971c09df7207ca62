#include "platform/portal/portal_picture_file.h"

#include "platform/portal/link_safe_file.h"
#include "platform/portal/portal_protocol.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <png.h>
#include <sys/stat.h>
#include <vector>

namespace quorvex {

namespace {

Result<std::vector<unsigned char>> readAll(
    int fd, long long size, std::chrono::steady_clock::time_point deadline)
{
    std::vector<unsigned char> bytes;
    bytes.resize(size_t(size) + 1); // one more: a file that grew meanwhile is seen
    size_t done = 0;
    while (done < bytes.size()) {
        if (std::chrono::steady_clock::now() > deadline)
            return fail("it took too long to read");
        const ssize_t got = ::read(fd, bytes.data() + done, std::min<size_t>(bytes.size() - done, 1 << 20));
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got < 0)
            return fail(std::strerror(errno));
        if (got == 0)
            break;
        done += size_t(got);
    }
    if (done > size_t(size))
        return fail("it grew while it was read");
    bytes.resize(done);
    return bytes;
}

Result<ScreenPixels> decodePng(const std::vector<unsigned char>& bytes)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return fail("it is no readable PNG");
    if (image.width == 0 || image.height == 0 || (long long)image.width * image.height > kMostDesktopPixels) {
        png_image_free(&image);
        return fail("its size of " + std::to_string(image.width) + " x " + std::to_string(image.height)
            + " pixels is no desktop's");
    }
    // 0xAARRGGBB words in the machine's byte order; the screen is opaque, so alpha is 0xff.
    image.format = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    const std::ptrdiff_t stride = std::ptrdiff_t(image.width) * 4;
    std::shared_ptr<unsigned char[]> bits(new (std::nothrow) unsigned char[size_t(stride) * image.height]);
    if (!bits) {
        png_image_free(&image);
        return fail("there is not enough memory for it");
    }
    if (!png_image_finish_read(&image, nullptr, bits.get(), png_int_32(stride), nullptr))
        return fail("it is no readable PNG");
    return ScreenPixels{bits.get(), int(image.width), int(image.height), stride, bits};
}

// Why `file` cannot be shown to be the one made for the request that began at `requestStart`; empty
// where it is.
std::string whyNotOurs(const OpenedFile& file, const timespec& requestStart)
{
    if (file.status.st_uid != ::geteuid())
        return "it belongs to another user";
    if (file.status.st_nlink != 1)
        return "it has other names";
    struct statx born { };
    if (::statx(file.file.get(), "", AT_EMPTY_PATH, STATX_BTIME, &born) != 0
        || !(born.stx_mask & STATX_BTIME))
        return "its file system does not tell when it was made";
    const bool afterStart = born.stx_btime.tv_sec != requestStart.tv_sec
        ? born.stx_btime.tv_sec > requestStart.tv_sec
        : long(born.stx_btime.tv_nsec) >= requestStart.tv_nsec;
    return afterStart ? std::string() : "it was there before this grab";
}

} // namespace

timespec requestMoment()
{
    timespec before{}, now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &before);
    do {
        const timespec pause{0, 250000};
        ::nanosleep(&pause, nullptr);
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    } while (now.tv_sec == before.tv_sec && now.tv_nsec == before.tv_nsec);
    return now;
}

Result<ScreenPixels> takePortalPicture(const std::string& uri, const timespec& requestStart,
    std::chrono::steady_clock::time_point deadline, const SayLine& say)
{
    const std::string path = pathFromFileUri(uri);
    if (path.empty())
        return fail("the desktop portal answered with '" + uri + "', not a local file");
    const auto refused = [&](const std::string& why) {
        return fail("the desktop portal's picture '" + path + "' was not read: " + why);
    };
    Result<OpenedFile> opened = openWithoutPlantedLinks(path);
    if (!opened)
        return refused(opened.error());
    if (!S_ISREG(opened->status.st_mode))
        return refused("it is no regular file");
    if (opened->status.st_size > kMostPortalFileBytes)
        return refused("it is larger than any desktop's picture");
    // Read at once, before anything can replace it; decoded before it may go.
    const Result<std::vector<unsigned char>> bytes
        = readAll(opened->file.get(), opened->status.st_size, deadline);
    if (!bytes)
        return refused(bytes.error());
    Result<ScreenPixels> pixels = decodePng(*bytes);
    if (!pixels)
        return refused(pixels.error());
    std::string kept = whyNotOurs(*opened, requestStart);
    if (kept.empty())
        if (const Status removed = removeOpenedFile(*opened); !removed)
            kept = "it cannot be removed: " + removed.error();
    if (!kept.empty() && say)
        say("the desktop portal's picture stays at '" + path + "': " + kept);
    return pixels;
}

} // namespace quorvex
