// The analysis folder from Python: correlation, centring and alignment, rotation and
// regions, Fourier-space profiles and curve filters, averaging, point operations and
// masks. Operations that make an image return a new one; the others work in place.
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <optional>
#include <utility>
#include <vector>

#include "analysis/RingSampler.h"
#include "analysis/averaging.h"
#include "analysis/binning.h"
#include "analysis/centring.h"
#include "analysis/columnsFile.h"
#include "analysis/crossCorrelation.h"
#include "analysis/curveFilters.h"
#include "analysis/fourierProfile.h"
#include "analysis/masks.h"
#include "analysis/pointOperations.h"
#include "analysis/polarPhase.h"
#include "analysis/powerSpectrum.h"
#include "analysis/regions.h"
#include "analysis/rotation.h"
#include "analysis/rotationalAlignment.h"
#include "analysis/shiftMeasurement.h"
#include "analysis/translation.h"
#include "analysis/translationalAlignment.h"
#include "bindingSupport.h"
#include "formats/ImageList.h"
#include "fourier/imageFourier.h"

namespace tarnview::python {

namespace {

using RealVector = py::array_t<float, py::array::c_style | py::array::forcecast>;

// Adds the named tuple type name with fields to module m.
void addNamedTuple(py::module_& m, const char* name, std::vector<const char*> fields) {
    py::list names;
    for (const char* field : fields) names.append(field);
    py::object type = py::module_::import("collections").attr("namedtuple")(name, names);
    type.attr("__module__") = "tarnview";
    m.attr(name) = type;
}

// A result of the named tuple type name of the extension module.
template <class... Values>
py::object namedResult(const char* name, Values... values) {
    return py::module_::import("tarnview._tarnview").attr(name)(values...);
}

py::object shiftResult(const MeasuredShift& shift) {
    return namedResult("MeasuredShift", shift.dx, shift.dy, shift.peak);
}

// A curve for the filters: abscissae x (only x[0] and x[1] - x[0] count) and values.
struct Curve {
    RealVector x, values;
    int n() const { return int(values.size()); }
};

Curve curveOf(const RealVector& x, const RealVector& values) {
    if (x.size() < std::min<py::ssize_t>(values.size(), 2))
        raiseArgument("A curve needs at least as many abscissae as values (two at least)");
    if (values.size() > INT32_MAX) raiseArgument("A curve of more than 2147483647 values");
    return {x, values};
}

// The 200 bin positions and 200 values of an image's profile table, as arrays.
py::tuple profileArrays(const float* table) {
    return py::make_tuple(RealVector(200, table), RealVector(200, table + 200));
}

// A C++ image list over the images of a Python sequence (borrowed: the list owns none).
struct BorrowedList {
    ImageList* list = createImageList();
    ~BorrowedList() { destroy(list, 1); }
};

void fillList(BorrowedList& borrowed, const std::vector<PyImage*>& images) {
    for (PyImage* p : images)
        if (p == nullptr || !append(borrowed.list, p->image.get()))
            raiseArgument("Cannot build the image list");
}

// Whether the transforms that centring and alignment run accept the image.
bool transformable(const Image& image) {
    return !image.isComplex() && fftAcceptsSize(image.getNx(), image.getNy());
}

void bindCorrelationAndAlignment(py::module_& m) {
    m.def(
        "cross_correlate",
        [](const PyImage& image, const PyImage* other) {
            const Image* second = other ? other->image.get() : nullptr;
            return adopt(call(Failure::argument, "cross_correlate",
                              [&] { return crossCorrelate(*image.image, second); }));
        },
        py::arg("image"), py::arg("other") = nullptr,
        "A new image: the circular cross-correlation of image with other (its autocorrelation "
        "without), zero shift at pixel (0, 0).");
    m.def(
        "centre",
        [](PyImage& image, bool toOrigin) {
            callUnlessRefused(!transformable(*image.image), [&] { centre(*image.image, toOrigin); });
        },
        py::arg("image"), py::arg("to_origin") = false,
        "Moves the image in place so that its centre of symmetry lies on the grid centre (or pixel 0, 0).");
    m.def(
        "align_translation",
        [](const PyImage& reference, PyImage& other, int peakSign) {
            const Image &a = *reference.image, &b = *other.image;
            const bool refused =
                a.getNx() != b.getNx() || a.getNy() != b.getNy() || !transformable(a) || !transformable(b);
            callUnlessRefused(refused, [&] { alignTranslation(a, other.image.get(), peakSign); });
        },
        py::arg("reference"), py::arg("other"), py::arg("peak_sign") = 1,
        "Moves other in place onto reference by the shift of their correlation peak.");
    m.def(
        "align_translation_precise",
        [](const PyImage& reference, PyImage& other, int upsampling, bool phaseNormalised) {
            MeasuredShift shift;
            call(Failure::argument, "align_translation_precise", [&] {
                return alignTranslationPrecise(*reference.image, other.image.get(), upsampling,
                                               phaseNormalised, &shift);
            });
            return shiftResult(shift);
        },
        py::arg("reference"), py::arg("other"), py::arg("upsampling") = 100,
        py::arg("phase_normalised") = false,
        "Moves other in place onto reference by the sub-pixel shift measure_shift finds; returns it.");
    m.def(
        "measure_shift",
        [](const PyImage& reference, const PyImage& other, int upsampling, bool phaseNormalised) {
            MeasuredShift shift;
            call(Failure::argument, "measure_shift", [&] {
                return measureShift(*reference.image, *other.image, upsampling, phaseNormalised, shift);
            });
            return shiftResult(shift);
        },
        py::arg("reference"), py::arg("other"), py::arg("upsampling") = 100,
        py::arg("phase_normalised") = false,
        "The shift (dx, dy, peak) by which other moved matches reference, to 1/upsampling of a pixel.");
    m.def(
        "translate",
        [](PyImage& image, double tx, double ty) {
            call(Failure::argument, "translate", [&] { return translateImage(*image.image, tx, ty); });
        },
        py::arg("image"), py::arg("tx"), py::arg("ty"),
        "Moves the image in place by (tx, ty) pixels, circularly.");
}

void bindRotation(py::module_& m) {
    m.def(
        "rotate",
        [](const PyImage& image, float degrees) {
            return adopt(call(Failure::argument, "rotate", [&] { return rotate(*image.image, degrees); }));
        },
        py::arg("image"), py::arg("degrees"), "A new image: the image turned about its geometric centre.");
    m.def(
        "align_rotation",
        [](const PyImage& reference, const PyImage& other) {
            float angle = 0;
            callLogged([&] { angle = alignRotation(*reference.image, other.image.get()); });
            return angle;
        },
        py::arg("reference"), py::arg("other"),
        "The angle in radians by which other must be turned to match reference (writes test.rcf.dat).");
    m.def(
        "measure_rotation",
        [](const PyImage& reference, const PyImage& other, std::optional<std::pair<double, double>> centre) {
            RotationMeasure measure{};
            call(Failure::argument, "measure_rotation", [&] {
                measure = centre
                              ? measureRotation(*reference.image, *other.image, centre->first, centre->second)
                              : measureRotation(*reference.image, *other.image);
                return measure.found;
            });
            return namedResult("RotationMeasure", measure.angle, measure.height);
        },
        py::arg("reference"), py::arg("other"), py::arg("centre") = py::none(),
        "The angle (radians) and peak height of the rotation between two images, from interpolated "
        "rings about centre (x, y), by default the geometric centre that rotate turns about.");
    m.def(
        "polar_phase_compare",
        [](const PyImage& reference, const PyImage& other) {
            return adopt(call(Failure::argument, "polar_phase_compare",
                              [&] { return polarPhaseCompare(*reference.image, other.image.get()); }));
        },
        py::arg("reference"), py::arg("other"),
        "A new image comparing the Fourier phases of two images in polar form.");
    m.def(
        "ring_profile",
        [](const PyImage& image, int n, int radius) {
            if (n <= 0) raiseArgument("A ring profile needs at least one bin");
            RealVector buffer(2 * py::ssize_t(n));
            callLogged([&] { ringProfile(*image.image, buffer.mutable_data(), n, radius); });
            return py::make_tuple(buffer[py::slice(0, n, 1)], buffer[py::slice(n, 2 * n, 1)]);
        },
        py::arg("image"), py::arg("n"), py::arg("radius"),
        "The bin angles and mean pixels of n angular bins on the ring of that radius about pixel (nx/2, "
        "ny/2).");
}

void bindRegions(py::module_& m) {
    m.def(
        "extract_region",
        [](const PyImage& image, int x0, int y0, int w, int h) {
            return adopt(call(Failure::argument, "extract_region",
                              [&] { return extractRegion(*image.image, x0, y0, w, h); }));
        },
        py::arg("image"), py::arg("x0"), py::arg("y0"), py::arg("width"), py::arg("height"),
        "A new image: the width x height region at (x0, y0).");
    m.def(
        "flip_y",
        [](PyImage& image) { call(Failure::argument, "flip_y", [&] { return flipY(*image.image); }); },
        py::arg("image"), "Turns the image upside down in place.");
}

void bindProfilesAndFilters(py::module_& m) {
    m.attr("PROFILE_RADIAL") = int(profileRadial);
    m.attr("PROFILE_ANGULAR") = int(profileAngular);
    m.attr("PROFILE_WEDGE") = int(profileWedge);
    m.attr("PROFILE_RING") = int(profileRing);
    m.def(
        "fourier_profile",
        [](PyImage& image, int kind, int a, int b) {
            float* table = call(Failure::argument, "fourier_profile",
                                [&] { return fourierProfile(*image.image, kind, a, b); });
            return profileArrays(table);
        },
        py::arg("image"), py::arg("kind") = int(profileRadial), py::arg("a") = 0, py::arg("b") = 0,
        "The (positions, values) arrays of a profile of an amplitude/phase Fourier image.");
    m.def(
        "scale_by_curve",
        [](PyImage& image, const RealVector& x, const RealVector& values) {
            Curve c = curveOf(x, values);
            call(Failure::argument, "scale_by_curve",
                 [&] { return scaleByCurve(*image.image, c.n(), c.x.data(), c.values.data()); });
        },
        py::arg("image"), py::arg("x"), py::arg("values"),
        "Multiplies every amplitude by the curve, in place.");
    m.def(
        "add_curve_noise",
        [](PyImage& image, const RealVector& x, const RealVector& values, float spread) {
            Curve c = curveOf(x, values);
            call(Failure::argument, "add_curve_noise",
                 [&] { return addCurveNoise(*image.image, c.n(), c.x.data(), c.values.data(), spread); });
        },
        py::arg("image"), py::arg("x"), py::arg("values"), py::arg("spread"),
        "Adds noise of random phase and a size within spread of the curve to every coefficient.");
    m.def(
        "subtract_curve",
        [](PyImage& image, const RealVector& x, const RealVector& values) {
            Curve c = curveOf(x, values);
            float* table = call(Failure::argument, "subtract_curve", [&] {
                return subtractCurve(*image.image, c.n(), c.x.data(), c.values.data());
            });
            return profileArrays(table);
        },
        py::arg("image"), py::arg("x"), py::arg("values"),
        "Subtracts the curve from every amplitude; returns the wedge profile of the result.");
    m.def(
        "write_columns",
        [](const RealVector& x, const RealVector& y, const std::filesystem::path& path) {
            if (x.size() != y.size() || x.size() > INT32_MAX)
                raiseArgument("Columns must have the same length");
            call(Failure::file, "write_columns",
                 [&] { return writeColumns(x.data(), y.data(), int(x.size()), path.c_str()); });
        },
        py::arg("x"), py::arg("y"), py::arg("path"), "Writes two columns of numbers as text lines.");
}

void bindSpectraAndBinning(py::module_& m) {
    m.def(
        "power_spectrum",
        [](const PyImage& image, int tile, double overlap, int smoothBins) {
            return adopt(call(Failure::argument, "power_spectrum",
                              [&] { return powerSpectrum(*image.image, tile, overlap, smoothBins); }));
        },
        py::arg("image"), py::arg("tile") = 512, py::arg("overlap") = 0.5, py::arg("smooth_bins") = 3,
        "A new tile x tile image: the averaged power spectrum of overlapping tapered tiles (any image "
        "shape), as log(power) less its smoothed radial profile, zero frequency at the centre. The "
        "largest valid transform length at most tile is used.");
    m.def("power_spectrum_tile", &powerSpectrumTile, py::arg("requested"),
          "The tile side power_spectrum uses for a requested one.");
    m.def(
        "bin_image",
        [](const PyImage& image, int n) {
            return adopt(call(Failure::argument, "bin_image", [&] { return binImage(*image.image, n); }));
        },
        py::arg("image"), py::arg("n"),
        "A new image of the means of n x n blocks (partial edge blocks dropped).");
}

void bindAveraging(py::module_& m) {
    m.def(
        "average",
        [](const std::vector<PyImage*>& images, int method) {
            BorrowedList borrowed;
            fillList(borrowed, images);
            auto result = std::make_unique<Image>();
            call(Failure::argument, "average", [&] { return average(*result, borrowed.list, method); });
            return py::cast(PyImage(std::move(result)));
        },
        py::arg("images"), py::arg("method") = 0,
        "A new image: the average of the images (method 0 values, 1 complex mean of Fourier images).");
    m.def(
        "average_transforms",
        [](const std::vector<PyImage*>& images) {
            BorrowedList borrowed;
            fillList(borrowed, images);
            auto result = std::make_unique<Image>();
            call(Failure::argument, "average_transforms",
                 [&] { return averageTransforms(*result, borrowed.list); });
            return py::cast(PyImage(std::move(result)));
        },
        py::arg("images"), "A new Fourier image: the mean amplitude and phase of the images' transforms.");
}

void bindPointOperations(py::module_& m) {
    m.def(
        "normalize", [](PyImage& image) { callLogged([&] { normalize(*image.image); }); }, py::arg("image"),
        "Every value v becomes (v - mean) / sigma, in place.");
    m.def(
        "normalize_to_edge", [](PyImage& image) { callLogged([&] { normalizeToEdge(*image.image); }); },
        py::arg("image"), "Every value v becomes (v - edge_mean) / edge_sigma, in place.");
    m.def(
        "fill_background",
        [](PyImage& image, float value) { callLogged([&] { fillBackground(*image.image, value); }); },
        py::arg("image"), py::arg("value"), "Sets the background connected to the edges to value.");
    m.def(
        "clip_to_grey_range",
        [](PyImage& image) {
            float changed = 0;
            callLogged([&] { changed = clipToGreyRange(*image.image); });
            return changed;
        },
        py::arg("image"), "Clips the values to the grey limits; returns the fraction changed.");
    m.def(
        "subtract",
        [](PyImage& image, const PyImage& other) {
            if (image.image->getNx() != other.image->getNx() ||
                image.image->getNy() != other.image->getNy()) {
                MessageCapture capture;
                subtract(*image.image, *other.image);  // prints its refusal and changes nothing
                raiseArgument(capture.take());
            }
            callLogged([&] { subtract(*image.image, *other.image); });
        },
        py::arg("image"), py::arg("other"), "Subtracts other from image in place.");
    m.def(
        "mask_circle",
        [](PyImage& image, int edge, int radius) {
            callLogged([&] { maskCircle(*image.image, edge, radius); });
        },
        py::arg("image"), py::arg("edge") = 0, py::arg("radius") = 0,
        "Masks the image outside a circle about its centre (a soft edge with edge 1).");
}

}  // namespace

void bindAnalysis(py::module_& m) {
    addNamedTuple(m, "MeasuredShift", {"dx", "dy", "peak"});
    addNamedTuple(m, "RotationMeasure", {"angle", "height"});
    bindCorrelationAndAlignment(m);
    bindRotation(m);
    bindRegions(m);
    bindProfilesAndFilters(m);
    bindSpectraAndBinning(m);
    bindAveraging(m);
    bindPointOperations(m);
}

}  // namespace tarnview::python
