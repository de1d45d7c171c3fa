#pragma once

namespace vantrel::testing {

// Makes sure a QGuiApplication exists (fonts and painting need one) for GoogleTest programs;
// call at the start of any test that measures text or paints.
void EnsureQtApplication();

}  // namespace vantrel::testing
