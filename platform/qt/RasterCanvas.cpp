#include "platform/qt/RasterCanvas.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "platform/Paths.h"
#include "platform/qt/PainterSurface.h"
#include "platform/qt/QtText.h"

namespace platform::qt {

void EnsureQtApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "qova";
  static char* argv[] = {name, nullptr};
  // The application lives as long as the process.
  new QApplication(argc, argv);
}

struct RasterCanvas::Impl {
  Impl(int width, int height, COLORREF background, int dpi)
      : image(std::max(1, width), std::max(1, height), QImage::Format_RGB32) {
    image.fill(ToQColor(background));
    int dotsPerMeter = int(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    painter.begin(&image);
    surface = std::make_unique<PainterSurface>(painter, platform::ui::DeviceCaps{width, height, dpi, dpi, false}, &image);
  }
  QImage image;
  QPainter painter;
  std::unique_ptr<PainterSurface> surface;
};

RasterCanvas::RasterCanvas(int width, int height, COLORREF background, int dpi) {
  EnsureQtApplication();
  impl_ = std::make_unique<Impl>(width, height, background, dpi);
  SetSurface(impl_->surface.get());
}

RasterCanvas::~RasterCanvas() {
  SetSurface(nullptr);
  impl_->surface.reset();
  impl_->painter.end();
}

int RasterCanvas::Width() const { return impl_->image.width(); }
int RasterCanvas::Height() const { return impl_->image.height(); }

COLORREF RasterCanvas::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= impl_->image.width() || y >= impl_->image.height()) return 0;
  QRgb rgb = impl_->image.pixel(x, y);
  return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

bool RasterCanvas::SavePng(std::string_view path) {
  // Finish the painter's work before the image is read, then go on drawing.
  impl_->painter.end();
  bool saved = impl_->image.save(ToQString(platform::NativePath(path)), "PNG");
  impl_->painter.begin(&impl_->image);
  impl_->surface = std::make_unique<PainterSurface>(impl_->painter, impl_->surface->Caps(), &impl_->image);
  SetSurface(impl_->surface.get());
  return saved;
}

}  // namespace platform::qt
