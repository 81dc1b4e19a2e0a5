// The image folder from Python: the Image class with its numpy view, statistics and grey
// limits, rendering and PGM output.
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <complex>
#include <cstring>
#include <optional>
#include <sstream>

#include "bindingSupport.h"
#include "image/GreyLimits.h"
#include "image/contrastRules.h"
#include "image/parameters.h"
#include "image/pgmWriter.h"
#include "image/progress.h"
#include "image/render.h"

namespace tarnview::python {

namespace {

using RealArray = py::array_t<float, py::array::c_style | py::array::forcecast>;
using ComplexArray = py::array_t<std::complex<float>, py::array::c_style | py::array::forcecast>;

// The image's size as three ints for resize; the array's dimensions must fit an int.
void checkDimensions(const py::array& a, int& nx, int& ny, int& nz) {
    if (a.ndim() != 2 && a.ndim() != 3) raiseArgument("An image array must have 2 or 3 dimensions");
    const py::ssize_t last = a.ndim() - 1;
    const py::ssize_t dims[3] = {a.shape(last), a.shape(last - 1), a.ndim() == 3 ? a.shape(0) : 1};
    for (py::ssize_t d : dims)
        if (d <= 0 || d > INT32_MAX) raiseArgument("An image array must have sides from 1 to 2147483647");
    nx = int(dims[0]);
    ny = int(dims[1]);
    nz = int(dims[2]);
}

// A new image holding a copy of a real array, or of a complex64 array as a Fourier image
// of (real, imaginary) pairs; statistics updated.
py::object fromArray(const py::array& source) {
    const bool complexValues = source.dtype().kind() == 'c';
    int nx, ny, nz;
    checkDimensions(source, nx, ny, nz);
    const int64_t floatsPerRow = complexValues ? int64_t(nx) * 2 : nx;
    if (floatsPerRow > INT32_MAX || floatsPerRow * ny * nz > INT64_MAX / 4)
        raiseArgument("An image array is too large");
    auto image = std::make_unique<Image>();
    if (!image->resize(int(floatsPerRow), ny, nz)) raiseArgument("Not enough memory for the image");
    if (complexValues) {
        ComplexArray values = ComplexArray::ensure(source);
        std::memcpy(image->getData(), values.data(), size_t(values.size()) * sizeof(std::complex<float>));
        image->setFlags(complexFlag | fourierFlag | realImagFlag);
    } else {
        RealArray values = RealArray::ensure(source);
        if (!values) raiseArgument("An image array must hold real numbers");
        std::memcpy(image->getData(), values.data(), size_t(values.size()) * sizeof(float));
    }
    {
        py::gil_scoped_release release;
        image->updateStatistics();
    }
    return py::cast(PyImage(std::move(image)));
}

std::string describe(const Image& image) {
    std::ostringstream text;
    text << "<tarnview.Image " << image.getNx() << " x " << image.getNy();
    if (image.getNz() != 1) text << " x " << image.getNz();
    if (image.isComplex()) text << (image.getFlags() & realImagFlag ? " real/imaginary" : " amplitude/phase");
    text << ", min " << image.getMin() << ", max " << image.getMax() << ", mean " << image.getMean()
         << ", sigma " << image.getSigma() << ", name '" << image.getName() << "'>";
    return text.str();
}

// The fields of the kept MRC header that callers look at, or None.
py::object mrcHeaderOf(const Image& image) {
    const MrcHeader* header = image.getMrcHeader();
    if (header == nullptr) return py::none();
    py::dict fields;
    fields["nx"] = header->nx;
    fields["ny"] = header->ny;
    fields["nz"] = header->nz;
    fields["mode"] = header->mode;
    fields["cell"] = py::make_tuple(header->cellX, header->cellY, header->cellZ);
    fields["nsymbt"] = header->nsymbt;
    py::list labels;
    for (int i = 0; i < 10 && i < header->labelCount; i++)
        labels.append(std::string(header->labels[i], strnlen(header->labels[i], 80)));
    fields["labels"] = labels;
    return fields;
}

// The image drawn through its grey limits as a (height, width) uint8 array, its last row
// first as in a PGM file.
py::array renderGreyArray(PyImage& held, int x0, int y0, int width, int height, float scale) {
    Image& image = *held.image;
    if (width < 0) width = image.isComplex() ? image.getNx() - 2 : image.getNx();
    if (height < 0) height = image.getNy();
    if (width <= 0 || height <= 0) raiseArgument("Nothing to render: the window is empty");
    py::array_t<unsigned char> raster({py::ssize_t(height), py::ssize_t(width)});
    unsigned char* out = raster.mutable_data();
    std::memset(out, 0, size_t(width) * size_t(height));
    callLogged([&] { renderGrey(image, out, x0, y0, width, height, width, scale, 0, 255); });
    return raster;
}

// The (low, high) limits a contrast rule gives, or its refusal as an ArgumentError.
template <class Rule>
py::tuple ruleLimits(const char* operation, Rule&& rule) {
    std::optional<GreyLimits> limits;
    call(Failure::argument, operation, [&] {
        limits = rule();
        return limits.has_value();
    });
    return py::make_tuple(limits->low, limits->high);
}

void bindImageClass(py::module_& m) {
    py::class_<PyImage>(m, "Image", "An image of 32-bit float samples with its statistics and grey limits.")
        .def(py::init<>(), "An empty image (0 x 0 x 0, grey limits unset).")
        .def_static("from_array", &fromArray, py::arg("array"),
                    "A new image holding a copy of a 2-D or 3-D real array (float32), or of a "
                    "complex64 array as a Fourier image of (real, imaginary) pairs; statistics updated.")
        .def_property_readonly(
            "data", [](py::object self) { return viewOf(self); },
            "The samples as a numpy array without a copy: float32 (ny, nx) or (nz, ny, nx); "
            "complex64 (ny, nx / 2) for a real/imaginary Fourier image. Call update_statistics "
            "after writing through it.")
        .def_property_readonly(
            "nx", [](const PyImage& p) { return p.image->getNx(); }, "Floats per row.")
        .def_property_readonly(
            "ny", [](const PyImage& p) { return p.image->getNy(); }, "Rows.")
        .def_property_readonly(
            "nz", [](const PyImage& p) { return p.image->getNz(); }, "Sections.")
        .def_property_readonly(
            "flags", [](const PyImage& p) { return p.image->getFlags(); },
            "Bit 0 complex, bit 1 Fourier, bit 2 (real, imaginary) pairs.")
        .def_property_readonly("is_complex", [](const PyImage& p) { return bool(p.image->isComplex()); })
        .def_property_readonly("min", [](const PyImage& p) { return p.image->getMin(); })
        .def_property_readonly("max", [](const PyImage& p) { return p.image->getMax(); })
        .def_property_readonly("mean", [](const PyImage& p) { return p.image->getMeanDouble(); })
        .def_property_readonly("sigma", [](const PyImage& p) { return p.image->getSigmaDouble(); })
        .def_property_readonly("edge_mean", [](const PyImage& p) { return p.image->getEdgeMean(); })
        .def_property_readonly("edge_sigma", [](const PyImage& p) { return p.image->getEdgeSigma(); })
        .def_property_readonly("hist_min", [](const PyImage& p) { return p.image->getHistMin(); })
        .def_property_readonly("hist_max", [](const PyImage& p) { return p.image->getHistMax(); })
        .def_property_readonly(
            "histogram", [](const PyImage& p) { return py::array_t<float>(256, p.image->getHistogram()); },
            "A copy of the 256 histogram bins, in percent of the samples, over hist_min ... hist_max.")
        .def_property(
            "grey_low", [](const PyImage& p) { return p.image->getGreyLow(); },
            [](PyImage& p, float v) { p.image->setGreyLimits(v, p.image->getGreyHigh()); },
            "Values at or below it are drawn black; -999 means not chosen.")
        .def_property(
            "grey_high", [](const PyImage& p) { return p.image->getGreyHigh(); },
            [](PyImage& p, float v) { p.image->setGreyLimits(p.image->getGreyLow(), v); },
            "Values at or above it are drawn white; -999 means not chosen.")
        .def(
            "set_grey_limits", [](PyImage& p, float low, float high) { p.image->setGreyLimits(low, high); },
            py::arg("low"), py::arg("high"), "Sets both grey limits.")
        .def_property_readonly("name", [](const PyImage& p) { return std::string(p.image->getName()); })
        .def_property_readonly("path", [](const PyImage& p) { return std::string(p.image->getPath()); })
        .def_property_readonly("mag", [](const PyImage& p) { return p.image->getMag(); })
        .def_property_readonly("delta_x", [](const PyImage& p) { return p.image->getDeltaX(); })
        .def_property_readonly(
            "mrc_header", [](const PyImage& p) { return mrcHeaderOf(*p.image); },
            "The main fields of the kept MRC header as a dict, or None.")
        .def_property_readonly("box_count", [](const PyImage& p) { return p.image->getBoxCount(); })
        .def(
            "update_statistics", [](PyImage& p) { callLogged([&] { p.image->updateStatistics(); }); },
            "Recomputes the statistics and histogram (and chooses grey limits while unset).")
        .def(
            "compute_histogram",
            [](PyImage& p, float lo, float hi) { callLogged([&] { p.image->computeHistogram(lo, hi); }); },
            py::arg("lo"), py::arg("hi"), "Refills the 256 histogram bins over lo ... hi.")
        .def("__repr__", [](const PyImage& p) { return describe(*p.image); });
}

}  // namespace

void bindImage(py::module_& m) {
    bindImageClass(m);
    m.def(
        "default_grey_limits",
        [](const PyImage& p) {
            const Image& image = *p.image;
            const GreyLimits limits = defaultGreyLimits(image.getHistogram(), image.getMin(),
                                                        image.getHistMin(), image.getHistMax());
            return py::make_tuple(limits.low, limits.high);
        },
        py::arg("image"), "The grey limits (low, high) the histogram's main peak gives.");
    m.def(
        "sigma_grey_limits",
        [](const PyImage& p, double k) {
            return ruleLimits("sigma_grey_limits", [&] { return sigmaGreyLimits(*p.image, k); });
        },
        py::arg("image"), py::arg("k"), "The grey limits (mean - k sigma, mean + k sigma).");
    m.def(
        "percentile_grey_limits",
        [](const PyImage& p, double percent) {
            return ruleLimits("percentile_grey_limits",
                              [&] { return percentileGreyLimits(*p.image, percent); });
        },
        py::arg("image"), py::arg("percent"),
        "The grey limits that leave percent of the finite samples black and percent white "
        "(exact within one bin of a 65536-bin histogram).");
    m.def("render_grey", &renderGreyArray, py::arg("image"), py::arg("x0") = 0, py::arg("y0") = 0,
          py::arg("width") = -1, py::arg("height") = -1, py::arg("scale") = 1.0f,
          "The image drawn through its grey limits as a uint8 array, its last row first.");
    m.def(
        "write_pgm",
        [](PyImage& p, const std::filesystem::path& path) {
            call(Failure::file, "write_pgm", [&] { return writePgm(*p.image, path.c_str()); });
        },
        py::arg("image"), py::arg("path"), "Writes the image 1:1 through its grey limits as a binary PGM.");
    m.def(
        "get_parameter",
        [](const std::string& name, float value) { return getParameter(name.c_str(), value); },
        py::arg("name"), py::arg("default"), "The named parameter (always the default given).");
    m.def(
        "progress_message",
        [](void) -> py::object {
            const char* message = progressMessage();
            return message ? py::object(py::str(message)) : py::object(py::none());
        },
        "The message of the long operation under way, or None.");
}

}  // namespace tarnview::python
