// The formats folder from Python: the MRC, IMAGIC and ScansALot readers and writers, the
// converted-image reader and the box database. Readers return new images.
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <optional>

#include "bindingSupport.h"
#include "formats/ImageList.h"
#include "formats/boxDatabase.h"
#include "formats/convertedReader.h"
#include "formats/imagicReader.h"
#include "formats/imagicWriter.h"
#include "formats/mrcReader.h"
#include "formats/mrcWriter.h"
#include "formats/salReader.h"
#include "image/sampleLimit.h"

namespace tarnview::python {

namespace {

// A reader of one image into a fresh Image: the image on success, the reader's messages
// as a FileError on failure.
template <class Reader>
py::object readInto(const char* operation, const std::filesystem::path& path, Reader&& reader) {
    auto image = std::make_unique<Image>();
    call(Failure::file, operation, [&] { return reader(*image, path.c_str()); });
    return py::cast(PyImage(std::move(image)));
}

py::list readImagicStack(const std::filesystem::path& path) {
    ImageList* list = call(Failure::file, "read_imagic", [&] { return readImagic(path.c_str()); });
    py::list images;
    const int n = count(list);
    for (int i = 0; i < n; i++) images.append(adopt(imageAt(list, i)));
    destroy(list, 1);  // the items now belong to Python
    return images;
}

}  // namespace

void bindFormats(py::module_& m) {
    m.def(
        "read_mrc",
        [](const std::filesystem::path& path, std::optional<int> section) {
            if (!section)
                return readInto("read_mrc", path,
                                [](Image& image, const char* p) { return readMrc(image, p); });
            return readInto("read_mrc", path,
                            [&](Image& image, const char* p) { return readMrcSection(image, p, *section); });
        },
        py::arg("path"), py::arg("section") = py::none(),
        "Reads an MRC file (either byte order; '.gz' and '.Z' through zcat). Without section, a 2-D "
        "file in modes 0 to 4, as the converter reads it; with section (0-based), that section of "
        "any file, 2-D, stack or volume, in modes 0 to 4, 6 (unsigned 16-bit) and 12 (float16). "
        "Raises FileError with the reader's message on failure.");
    m.def(
        "mrc_section_count",
        [](const std::filesystem::path& path) {
            int n = -1;
            call(Failure::file, "mrc_section_count", [&] {
                n = readMrcSectionCount(path.c_str());
                return n >= 0;
            });
            return n;
        },
        py::arg("path"), "The number of sections of an MRC file, from its header alone.");
    m.def(
        "set_max_image_samples", [](int64_t samples) { setMaxImageSamples(samples); }, py::arg("samples"),
        "The largest image, in samples, a reader allocates (0: no limit); larger declared images are "
        "refused before anything is allocated. The package sets 2**30 on import.");
    m.def("max_image_samples", &maxImageSamples, "The readers' size limit in samples (0: no limit).");
    m.def(
        "write_mrc",
        [](PyImage& p, const std::filesystem::path& path, bool sixteenBit) {
            call(Failure::file, "write_mrc", [&] { return writeMrc(*p.image, path.c_str(), sixteenBit); });
        },
        py::arg("image"), py::arg("path"), py::arg("sixteen_bit") = false,
        "Writes the image as an MRC file in the host's byte order (float samples, or 16-bit ones).");
    m.def("read_imagic", &readImagicStack, py::arg("path"),
          "Reads every image of an IMAGIC stack ('.hed'/'.img', or their stem) as a list of images.");
    m.def(
        "write_imagic",
        [](PyImage& p, const std::filesystem::path& path) {
            call(Failure::file, "write_imagic", [&] { return writeImagic(*p.image, path.c_str()); });
        },
        py::arg("image"), py::arg("path"), "Appends the image's first section to an IMAGIC stack.");
    m.def(
        "read_sal",
        [](const std::filesystem::path& path) {
            return readInto("read_sal", path, [](Image& image, const char* p) { return readSal(image, p); });
        },
        py::arg("path"), "Reads a ScansALot scan (its '.hdr' header and '.img' data).");
    m.def(
        "read_sal_corner",
        [](const std::filesystem::path& path) {
            return readInto("read_sal_corner", path,
                            [](Image& image, const char* p) { return readSalCorner(image, p); });
        },
        py::arg("path"), "Reads the top-left region of at most 1040 x 1040 samples of a ScansALot scan.");
    m.def(
        "read_converted",
        [](const std::filesystem::path& path) {
            return readInto("read_converted", path,
                            [](Image& image, const char* p) { return readConverted(image, p); });
        },
        py::arg("path"), "Reads a raw PGM, or a GIF, TIFF, JPEG, PCX or PPM picture through its converter.");
    m.def(
        "write_box_database",
        [](const PyImage& p, const std::filesystem::path& path) {
            call(Failure::file, "write_box_database",
                 [&] { return writeBoxDatabase(*p.image, path.c_str()); });
        },
        py::arg("image"), py::arg("path"), "Writes the image's boxes to a new box database.");
    m.def(
        "read_box_database",
        [](PyImage& p, const std::filesystem::path& path) {
            call(Failure::file, "read_box_database", [&] { return readBoxDatabase(*p.image, path.c_str()); });
        },
        py::arg("image"), py::arg("path"), "Adds the boxes of a box database to the image's list.");
}

}  // namespace tarnview::python
