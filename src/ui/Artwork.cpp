// SPDX-License-Identifier: MIT
#include "ui/Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace quorvella {
namespace {

// A quaver with its stem rising from a note head at (x, y).
void DrawNote(QPainter& p, qreal x, qreal y, qreal scale, const QColor& color) {
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawEllipse(QRectF(x, y, 4.2 * scale, 3.2 * scale));
  p.fillRect(QRectF(x + 3.2 * scale, y - 7 * scale, 1.0 * scale, 8.5 * scale), color);
  QPainterPath flag;
  flag.moveTo(x + 4.2 * scale, y - 7 * scale);
  flag.cubicTo(x + 6.5 * scale, y - 5.5 * scale, x + 7 * scale, y - 4 * scale,
               x + 5.5 * scale, y - 2.5 * scale);
  flag.lineTo(x + 4.2 * scale, y - 4.5 * scale);
  flag.closeSubpath();
  p.drawPath(flag);
}

void DrawKind(QPainter& p, PlaylistKindCode code) {
  const QColor ink(0x20, 0x30, 0x60);
  switch (code) {
    case 1: {  // purchased music: a shopping bag
      p.setPen(QPen(QColor(0x80, 0x50, 0x10), 1));
      p.setBrush(QColor(0xF0, 0xC0, 0x50));
      p.drawRect(QRectF(2.5, 5.5, 11, 9));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(5, 1.5, 6, 7), 0, 180 * 16);
      break;
    }
    case 2: {  // party shuffle: two crossing arrows
      p.setPen(QPen(QColor(0xC0, 0x30, 0x80), 1.6));
      p.drawLine(QPointF(2, 4), QPointF(13, 12));
      p.drawLine(QPointF(2, 12), QPointF(13, 4));
      p.setBrush(QColor(0xC0, 0x30, 0x80));
      p.setPen(Qt::NoPen);
      p.drawPolygon(QPolygonF({QPointF(14.5, 13), QPointF(10, 12.5), QPointF(13, 9.5)}));
      p.drawPolygon(QPolygonF({QPointF(14.5, 3), QPointF(10, 3.5), QPointF(13, 6.5)}));
      break;
    }
    case 3: {  // the library: a stack of records under a note
      p.setPen(QPen(ink, 1));
      p.setBrush(QColor(0x60, 0x90, 0xD0));
      p.drawRect(QRectF(1.5, 11.5, 13, 3));
      DrawNote(p, 5, 8, 1.0, ink);
      break;
    }
    case 4: {  // a folder
      p.setPen(QPen(QColor(0x90, 0x70, 0x20), 1));
      p.setBrush(QColor(0xF5, 0xD0, 0x60));
      QPainterPath path;
      path.moveTo(1.5, 4.5);
      path.lineTo(6, 4.5);
      path.lineTo(7.5, 6);
      path.lineTo(14.5, 6);
      path.lineTo(14.5, 13.5);
      path.lineTo(1.5, 13.5);
      path.closeSubpath();
      p.drawPath(path);
      break;
    }
    case 5: {  // videos: a strip of film
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x30, 0x30, 0x30));
      p.drawRect(QRectF(2, 2, 12, 12));
      p.setBrush(Qt::white);
      for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(3, 3 + i * 3, 1.5, 1.5));
        p.drawRect(QRectF(11.5, 3 + i * 3, 1.5, 1.5));
      }
      p.setBrush(QColor(0x70, 0xA0, 0xE0));
      p.drawRect(QRectF(5.5, 4, 5, 8));
      break;
    }
    case 6: {  // a plain playlist: a note on a sheet
      p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2.5, 1.5, 11, 13));
      DrawNote(p, 5, 10, 0.9, ink);
      break;
    }
    case 7: {  // a smart playlist: a cog
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x50, 0x80, 0x50));
      for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(8, 8);
        p.rotate(i * 45.0);
        p.drawRect(QRectF(-1.3, -7, 2.6, 3));
        p.restore();
      }
      p.drawEllipse(QPointF(8, 8), 5, 5);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(8, 8), 2, 2);
      break;
    }
    case 8: {  // podcasts: a broadcasting microphone
      p.setPen(QPen(QColor(0x80, 0x30, 0xA0), 1.4));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(2, 2, 12, 12), 30 * 16, 120 * 16);
      p.drawArc(QRectF(4.5, 4.5, 7, 7), 30 * 16, 120 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x80, 0x30, 0xA0));
      p.drawEllipse(QPointF(8, 8.5), 1.8, 1.8);
      p.drawRect(QRectF(7.3, 9, 1.4, 5.5));
      break;
    }
    default:
      break;
  }
}

}  // namespace

QPixmap KindImage(PlaylistKindCode code) {
  if (code < 1 || code > 8) return {};
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawKind(painter, code);
  return pixmap;
}

QIcon ProgramIcon() {
  // Renders of data/icons/io.github.quorvella.Quorvella.svg, made at build
  // time and kept in the program's resources: the desktop's menu shows the
  // same files, and nothing has to be found on disk at run time.
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

QPixmap ProgramPixmap(int size) { return ProgramIcon().pixmap(size); }

}  // namespace quorvella
