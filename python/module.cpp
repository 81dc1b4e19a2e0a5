// The extension module tarnview._tarnview: the library's image object, readers and
// writers, transforms and analysis operations. The package tarnview re-exports it.
#include "bindingSupport.h"

PYBIND11_MODULE(_tarnview, m) {
    m.doc() = "Electron-microscopy images: readers, writers, transforms and analysis.";
    tarnview::python::addErrorClasses(m);
    tarnview::python::bindImage(m);
    tarnview::python::bindFormats(m);
    tarnview::python::bindFourier(m);
    tarnview::python::bindAnalysis(m);
}
