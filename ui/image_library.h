// The deep-sky image library: pictures of Messier and Caldwell objects for
// the Info page, in one downloadable file. The file is a Qt binary resource
// file (rcc --binary; tools/make_image_library.sh makes one) holding
// /deepsky/M<n>.<ext> and /deepsky/C<n>.<ext> with ext jpg, png or gif. It
// is registered as a resource library while loaded, under a root of its
// own (so ":/imagelibrary/deepsky/M31.jpg").
#pragma once

#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

class QFile;

namespace celestra {

// Where the library lies on the project website. The file is the same on
// every machine, so there is no platform folder in the path.
constexpr const char* kImageLibraryRemotePath = "PocketPC/Celestra/MessierAndCaldwell/Celestra.mes";
// Its name in the data folder.
constexpr const char* kImageLibraryFileName = "Celestra.mes";

// The Info page's button while no library is loaded, and the message of a
// download that failed or brought a file that does not load.
constexpr const char* kImageLibraryDownloadText =
    "Click HERE to download the free Messier image file if connected to the internet.";
constexpr const char* kImageLibraryFailedTitle = "Transfer failed";
constexpr const char* kImageLibraryFailedText =
    "Download failed.  Verify internet connection and check available memory, then try again.";

// Whether `size` bytes are a whole binary resource file: the "qres" header
// of a known format version, and every node of its tree reachable from the
// root, with its name and data, lying inside the bytes. Qt itself checks
// little more than the header, and a damaged tree would be read out of
// bounds when a picture is looked up.
bool resourceLibraryIsWhole(const uint8_t* bytes, size_t size);

// The resource path of object k's picture without its extension
// ("/deepsky/M31", "/deepsky/C14"); empty for a star or outside the
// catalogues.
QString pictureResourceStem(int k);

// The one library of the program, at a fixed local path. Registration is
// process-wide, so there is one of these.
class ImageLibrary {
public:
    explicit ImageLibrary(QString filePath);
    ~ImageLibrary();
    ImageLibrary(const ImageLibrary&) = delete;
    ImageLibrary& operator=(const ImageLibrary&) = delete;

    const QString& filePath() const { return filePath_; }
    bool isLoaded() const { return loaded_; }
    // Registers the file as the resource library; true when it is loaded
    // (already or now). A missing or damaged file, or a resource file
    // without the /deepsky folder, is refused and leaves nothing registered.
    bool load();
    void unload();
    // Where a download goes first: beside the library, "<file>.download".
    QString downloadPath() const;
    // Checks the downloaded file as load() would (a whole resource file
    // with the pictures' folder) and only then renames it over the library
    // and loads it. A file that fails is removed and the library file stays
    // as it was. True when the new library is loaded.
    bool installDownload();
    // Object k's picture (jpg, png or gif, in that order); a null image
    // when no library is loaded or it has none for k.
    QImage picture(int k) const;

private:
    QString filePath_;
    // The file stays open and mapped while registered: the checked bytes are
    // the ones Qt reads, even if the file on disk is replaced meanwhile.
    std::unique_ptr<QFile> file_;
    const uchar* mapped_ = nullptr;
    bool loaded_ = false;
};

}  // namespace celestra
