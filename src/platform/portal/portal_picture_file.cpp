#include "platform/portal/portal_picture_file.h"

#include "platform/portal/portal_protocol.h"

#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <png.h>
#include <unistd.h>

namespace quorvex {

namespace {

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

struct FileBytes {
    std::vector<unsigned char> bytes;
    std::string failure;
};

FileBytes readWholeFile(const std::string& path)
{
    FileBytes result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.failure = std::strerror(errno);
        return result;
    }
    unsigned char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            result.failure = std::strerror(errno);
        if (got <= 0)
            break;
        result.bytes.insert(result.bytes.end(), buffer, buffer + got);
    }
    ::close(fd);
    return result;
}

} // namespace

PortalFilePlaces PortalFilePlaces::fromProcess()
{
    PortalFilePlaces places{{"/tmp"}, environmentValue("XDG_PICTURES_DIR")};
    if (const std::string tmp = environmentValue("TMPDIR"); !tmp.empty())
        places.temporaryFolders.push_back(tmp);
    if (places.picturesFolder.empty() && !environmentValue("HOME").empty())
        places.picturesFolder = environmentValue("HOME") + "/Pictures";
    return places;
}

PortalPicture takePortalPicture(const std::string& uri, const PortalFilePlaces& places)
{
    const std::string path = pathFromFileUri(uri);
    if (path.empty())
        return {{}, "the desktop portal answered with '" + uri + "', not a local file"};
    FileBytes file = readWholeFile(path);
    if (isOursToDelete(path, places.temporaryFolders, places.picturesFolder))
        ::unlink(path.c_str());
    if (!file.failure.empty())
        return {{}, "cannot read the desktop portal's picture '" + path + "': " + file.failure};

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const std::string unreadable = "the desktop portal's picture '" + path + "' is no readable PNG";
    if (!png_image_begin_read_from_memory(&image, file.bytes.data(), file.bytes.size()))
        return {{}, unreadable};
    // 0xAARRGGBB words in the machine's byte order; the screen is opaque, so alpha is 0xff.
    image.format = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    const std::ptrdiff_t stride = std::ptrdiff_t(image.width) * 4;
    std::shared_ptr<unsigned char[]> bits(new (std::nothrow) unsigned char[stride * image.height]);
    if (!bits) {
        png_image_free(&image);
        return {{}, "not enough memory for the desktop portal's picture"};
    }
    if (!png_image_finish_read(&image, nullptr, bits.get(), png_int_32(stride), nullptr))
        return {{}, unreadable};
    return {{bits.get(), int(image.width), int(image.height), stride, bits}, {}};
}

} // namespace quorvex
