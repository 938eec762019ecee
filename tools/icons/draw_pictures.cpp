// Draws Quillmere's pictures: the 14 standard pictures of the image lists at 16 and 32
// pixels, the due bullet (11 pixels wide), the program icon at 16 to 128 pixels, and the
// pictures of the commands at 16 (buttons, menus) and 24 pixels (the toolbar). Each
// picture is drawn for its size (not scaled down from a large one), in a 16-unit grid:
// coloured shapes with a dark outline, so that they read on light and on dark themes.
//
//     quill_draw_pictures OUTDIR [SHEET.png [COMMAND-SHEET.png]]
//
// writes the PNG files and "pictures.qrc" into OUTDIR and, if asked, contact sheets of
// everything on a light and a dark background (magnified, for looking at).

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

struct Ink {
    QColor fill;
    QColor line;
};

// One pixel of outline at 16 pixels, a pixel and a half at 32.
qreal g_line = 1.0;
// The size being drawn, for the pictures laid out pixel by pixel.
int g_size = 16;

void Shape(QPainter& p, const QPainterPath& path, const Ink& ink, qreal width = -1) {
    QPen pen(ink.line, width < 0 ? g_line : width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(ink.fill);
    p.drawPath(path);
}

void Line(QPainter& p, QPointF a, QPointF b, QColor color, qreal width) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(a, b);
}

void Fill(QPainter& p, const QRectF& r, QColor color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRect(r);
}

QPainterPath Rect(qreal x1, qreal y1, qreal x2, qreal y2) {
    QPainterPath path;
    path.addRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)));
    return path;
}

QPainterPath Rounded(qreal x1, qreal y1, qreal x2, qreal y2, qreal r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)), r, r);
    return path;
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (QPointF pt : points) {
        if (first) {
            path.moveTo(pt);
            first = false;
        } else {
            path.lineTo(pt);
        }
    }
    path.closeSubpath();
    return path;
}

QPainterPath Circle(qreal cx, qreal cy, qreal r) {
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    return path;
}

// Head and shoulders standing on the baseline y, centred on cx, "scale" 1 fills the grid.
void PersonGlyph(QPainter& p, qreal cx, qreal base, qreal scale, const Ink& ink) {
    QPainterPath body;
    const qreal w = 5.6 * scale;
    const qreal top = base - 6.0 * scale;
    body.moveTo(cx - w, base);
    body.cubicTo(cx - w, top + 1.0 * scale, cx - w * 0.55, top, cx, top);
    body.cubicTo(cx + w * 0.55, top, cx + w, top + 1.0 * scale, cx + w, base);
    body.closeSubpath();
    Shape(p, body, ink);
    Shape(p, Circle(cx, top - 3.0 * scale, 2.9 * scale), ink);
}

const Ink kFolderBack{QColor(0xE3, 0xA2, 0x2B), QColor(0x6B, 0x45, 0x00)};
const Ink kFolderFront{QColor(0xFF, 0xCF, 0x5C), QColor(0x6B, 0x45, 0x00)};
const QColor kPaper(0xFB, 0xFB, 0xF8);
const QColor kPaperLine(0x3A, 0x44, 0x52);

void FolderBack(QPainter& p) {
    QPainterPath back;
    back.moveTo(1.5, 13.5);
    back.lineTo(1.5, 3.5);
    back.quadTo(1.5, 2.5, 2.5, 2.5);
    back.lineTo(6.0, 2.5);
    back.lineTo(7.5, 4.0);
    back.lineTo(13.5, 4.0);
    back.quadTo(14.5, 4.0, 14.5, 5.0);
    back.lineTo(14.5, 13.5);
    back.closeSubpath();
    Shape(p, back, kFolderBack);
}

void Folder(QPainter& p) {
    FolderBack(p);
    Shape(p, Rounded(1.5, 6.0, 14.5, 13.5, 0.6), kFolderFront);
}

void OpenFolder(QPainter& p) {
    FolderBack(p);
    Shape(p, Polygon({{0.5, 13.5}, {3.0, 7.0}, {15.5, 7.0}, {13.0, 13.5}}), kFolderFront);
}

void Organization(QPainter& p) {
    const Ink wall{QColor(0x86, 0xA9, 0xD6), QColor(0x1B, 0x33, 0x55)};
    const Ink wing{QColor(0x6A, 0x8F, 0xBF), QColor(0x1B, 0x33, 0x55)};
    Shape(p, Rect(10.5, 6.5, 14.5, 14.5), wing);
    Shape(p, Rect(2.5, 1.5, 10.5, 14.5), wall);
    const QColor glass(0xF2, 0xF7, 0xFF);
    for (qreal y : {3.0, 6.0, 9.0}) {
        Fill(p, QRectF(4.0, y, 1.5, 1.5), glass);
        Fill(p, QRectF(7.5, y, 1.5, 1.5), glass);
    }
    Fill(p, QRectF(12.0, 8.5, 1.0, 1.5), glass);
    Fill(p, QRectF(12.0, 11.5, 1.0, 1.5), glass);
    Fill(p, QRectF(5.5, 11.5, 2.0, 3.0), wall.line);
}

const Ink kBlueMan{QColor(0x3E, 0x8E, 0xE6), QColor(0x0E, 0x2F, 0x57)};
const Ink kGreenMan{QColor(0x4C, 0xB0, 0x5A), QColor(0x12, 0x40, 0x19)};

void Person(QPainter& p) {
    PersonGlyph(p, 8.0, 14.5, 1.08, kBlueMan);
}

void Team(QPainter& p) {
    PersonGlyph(p, 11.3, 11.6, 0.76, kGreenMan);
    PersonGlyph(p, 5.8, 14.5, 0.88, kBlueMan);
}

void Website(QPainter& p) {
    const Ink globe{QColor(0x35, 0x9C, 0xE0), QColor(0x0B, 0x35, 0x5C)};
    Shape(p, Circle(8.0, 8.0, 6.5), globe);
    const QColor grid(0xE4, 0xF4, 0xFF);
    const qreal w = g_line * 0.8;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(grid, w));
    p.drawEllipse(QPointF(8.0, 8.0), 2.8, 6.0);
    Line(p, {2.0, 8.0}, {14.0, 8.0}, grid, w);
    Line(p, {8.0, 2.0}, {8.0, 14.0}, grid, w);
    p.setPen(QPen(grid, w * 0.9));
    p.drawArc(QRectF(3.0, 0.6, 10.0, 6.0), 200 * 16, 140 * 16);
    p.drawArc(QRectF(3.0, 9.4, 10.0, 6.0), 20 * 16, 140 * 16);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(globe.line, g_line));
    p.drawEllipse(QPointF(8.0, 8.0), 6.5, 6.5);
}

void Address(QPainter& p) {
    const Ink wall{QColor(0xF6, 0xE3, 0xBA), QColor(0x4A, 0x2E, 0x12)};
    const Ink roof{QColor(0xD6, 0x4B, 0x3C), QColor(0x4F, 0x12, 0x0B)};
    Shape(p, Rect(3.5, 7.0, 12.5, 14.5), wall);
    Shape(p, Polygon({{1.0, 8.0}, {8.0, 1.5}, {15.0, 8.0}}), roof);
    Fill(p, QRectF(6.5, 10.0, 3.0, 4.5), QColor(0x8A, 0x55, 0x22));
    Shape(p, Rect(10.5, 9.5, 11.5, 10.5), {QColor(0x8F, 0xC4, 0xF0), wall.line}, g_line * 0.6);
}

const Ink kPhoneInk{QColor(0xDB, 0x47, 0x3F), QColor(0x56, 0x10, 0x0C)};

void Phone(QPainter& p) {
    // The handset lying on its cradle, over the body with its dial.
    Shape(p, Polygon({{3.5, 14.5}, {5.0, 7.5}, {11.0, 7.5}, {12.5, 14.5}}), kPhoneInk);
    QPainterPath handset;
    handset.moveTo(1.0, 7.0);
    handset.lineTo(1.0, 4.5);
    handset.cubicTo(1.0, 2.5, 4.0, 1.5, 8.0, 1.5);
    handset.cubicTo(12.0, 1.5, 15.0, 2.5, 15.0, 4.5);
    handset.lineTo(15.0, 7.0);
    handset.lineTo(11.5, 7.0);
    handset.lineTo(11.0, 5.0);
    handset.lineTo(5.0, 5.0);
    handset.lineTo(4.5, 7.0);
    handset.closeSubpath();
    Shape(p, handset, kPhoneInk);
    Shape(p, Circle(8.0, 11.0, 2.4), {QColor(0xFB, 0xE3, 0xE1), kPhoneInk.line}, g_line * 0.8);
    Fill(p, QRectF(7.5, 10.5, 1.0, 1.0), kPhoneInk.line);
}

void EMail(QPainter& p) {
    const Ink envelope{QColor(0xDC, 0xEB, 0xFF), QColor(0x1E, 0x3A, 0x60)};
    Shape(p, Rect(1.5, 3.5, 14.5, 12.5), envelope);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(envelope.line, g_line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath flap;
    flap.moveTo(1.5, 3.5);
    flap.lineTo(8.0, 9.0);
    flap.lineTo(14.5, 3.5);
    p.drawPath(flap);
    Line(p, {1.5, 12.5}, {6.0, 7.5}, envelope.line, g_line * 0.7);
    Line(p, {14.5, 12.5}, {10.0, 7.5}, envelope.line, g_line * 0.7);
}

void Fax(QPainter& p) {
    const Ink body{QColor(0x9F, 0xAE, 0xC0), QColor(0x23, 0x2E, 0x3B)};
    Shape(p, Rect(4.0, 1.5, 12.0, 9.0), {kPaper, kPaperLine});
    for (qreal y : {3.5, 5.5}) {
        Line(p, {5.5, y}, {10.5, y}, QColor(0x7A, 0x86, 0x94), g_line * 0.8);
    }
    Shape(p, Rounded(1.5, 7.0, 14.5, 14.5, 1.0), body);
    Fill(p, QRectF(3.5, 8.5, 9.0, 1.0), body.line);                 // the paper slot
    Fill(p, QRectF(3.0, 10.5, 4.5, 2.5), QColor(0xCF, 0xF0, 0xD2)); // display
    const QColor key(0x23, 0x2E, 0x3B);
    for (qreal x : {9.0, 11.5}) {
        for (qreal y : {10.5, 12.5}) {
            Fill(p, QRectF(x, y, 1.2, 1.0), key);
        }
    }
}

void CalendarPage(QPainter& p, QColor header) {
    const Ink page{kPaper, kPaperLine};
    Shape(p, Rect(1.5, 2.5, 14.5, 14.5), page);
    Shape(p, Rect(1.5, 2.5, 14.5, 6.0), {header, kPaperLine});
    const QColor day(0x6B, 0x76, 0x84);
    for (qreal y : {8.0, 11.0}) {
        for (qreal x : {3.5, 6.5, 9.5}) {
            Fill(p, QRectF(x, y, 1.5, 1.5), day);
        }
    }
    for (qreal x : {4.5, 11.5}) {
        Line(p, {x, 1.0}, {x, 3.5}, kPaperLine, g_line * 1.4);
    }
}

void Reminder(QPainter& p) {
    CalendarPage(p, QColor(0x3E, 0x8E, 0xE6));
    Fill(p, QRectF(12.5, 8.0, 1.5, 1.5), QColor(0x6B, 0x76, 0x84));
}

void DueReminder(QPainter& p) {
    CalendarPage(p, QColor(0xE0, 0x45, 0x3A));
    // The alarm: an orange disc with an exclamation mark.
    Shape(p, Circle(11.5, 11.5, 4.0), {QColor(0xFF, 0x9F, 0x1A), QColor(0x5C, 0x2A, 0x00)});
    const QColor mark(0x3A, 0x1A, 0x00);
    Fill(p, QRectF(11.0, 8.5, 1.0, 3.7), mark);
    Fill(p, QRectF(11.0, 13.0, 1.0, 1.0), mark);
}

void TopItem(QPainter& p) {
    // The address book "My Contacts": a bound book with a person on its cover and tabs.
    const Ink cover{QColor(0x1E, 0x96, 0x8C), QColor(0x07, 0x3B, 0x37)};
    const QColor tab[3] = {QColor(0xF2, 0xC0, 0x3C), QColor(0xE0, 0x5A, 0x4E),
                           QColor(0x7E, 0xC8, 0x4A)};
    for (int i = 0; i < 3; ++i) {
        Shape(p, Rect(12.5, 3.0 + i * 3.5, 15.0, 5.5 + i * 3.5), {tab[i], cover.line},
              g_line * 0.8);
    }
    Shape(p, Rounded(2.5, 1.5, 13.5, 14.5, 1.0), cover);
    const QColor ring(0xE8, 0xF4, 0xF2);
    for (qreal y : {3.5, 6.5, 9.5, 12.5}) {
        Line(p, {1.5, y}, {3.8, y}, ring, g_line * 1.1);
    }
    PersonGlyph(p, 8.5, 12.2, 0.62, {QColor(0xFF, 0xFF, 0xFF), QColor(0x07, 0x3B, 0x37)});
}

void GenericFile(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.0, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(13.0, 5.0);
    page.lineTo(13.0, 14.5);
    page.lineTo(3.0, 14.5);
    page.closeSubpath();
    Shape(p, page, {kPaper, kPaperLine});
    Shape(p, Polygon({{9.5, 1.5}, {9.5, 5.0}, {13.0, 5.0}}),
          {QColor(0xC9, 0xD1, 0xDB), kPaperLine});
    const QColor text(0x8A, 0x95, 0xA3);
    for (qreal y : {7.5, 9.5, 11.5}) {
        Line(p, {5.0, y}, {11.0, y}, text, g_line * 0.9);
    }
}

void ProgramIcon(QPainter& p) {
    // A deep blue tile with a white quill, writing a line of gold.
    QLinearGradient tile(0, 0, 16, 16);
    tile.setColorAt(0, QColor(0x4A, 0x5F, 0xD0));
    tile.setColorAt(1, QColor(0x23, 0x2E, 0x8A));
    p.setPen(QPen(QColor(0x12, 0x17, 0x4A), g_line));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15.0, 15.0), 3.0, 3.0);
    Line(p, {2.5, 13.5}, {9.0, 13.5}, QColor(0xFF, 0xC8, 0x3D), g_line * 1.3);
    QPainterPath feather;
    feather.moveTo(3.2, 12.8);
    feather.cubicTo(4.5, 7.0, 8.5, 3.0, 13.8, 2.2);
    feather.cubicTo(13.2, 7.5, 9.5, 11.2, 3.2, 12.8);
    feather.closeSubpath();
    Shape(p, feather, {QColor(0xFF, 0xFF, 0xFF), QColor(0x12, 0x17, 0x4A)}, g_line * 0.8);
    Line(p, {3.2, 12.8}, {11.5, 4.5}, QColor(0x5B, 0x6B, 0xC8), g_line * 0.8);
}

void Bullet(QPainter& p, int height) {
    // 11 pixels wide: a red dot with a dark rim, centred.
    const qreal d = height >= 32 ? 8.0 : 6.0;
    p.setPen(QPen(QColor(0x5A, 0x10, 0x10), 1.0));
    p.setBrush(QColor(0xE0, 0x30, 0x30));
    p.drawEllipse(QRectF((11.0 - d) / 2.0, (height - d) / 2.0, d, d));
}

struct Picture {
    const char* name;
    void (*draw)(QPainter&);
};

// Index by index: kind n is picture n, 10 the open folder, 11 a due reminder, 12 the top
// item, 13 the general file.
const Picture kPictures[14] = {
    {"folder", Folder},
    {"organization", Organization},
    {"team", Team},
    {"person", Person},
    {"website", Website},
    {"address", Address},
    {"phone", Phone},
    {"email", EMail},
    {"fax", Fax},
    {"reminder", Reminder},
    {"open-folder", OpenFolder},
    {"due-reminder", DueReminder},
    {"top-item", TopItem},
    {"file", GenericFile},
};

// --- Command pictures: the toolbar (24 pixels) and the buttons and menus (16 pixels) ----

const Ink kSheetInk{kPaper, kPaperLine};
const Ink kGreenArrow{QColor(0x4C, 0xB0, 0x5A), QColor(0x12, 0x40, 0x19)};
const Ink kBlueArrow{QColor(0x3E, 0x8E, 0xE6), QColor(0x0E, 0x2F, 0x57)};
const Ink kSteel{QColor(0xC3, 0xCD, 0xD9), QColor(0x23, 0x2E, 0x3B)};
const QColor kTextLine(0x8A, 0x95, 0xA3);

// A sheet of paper with its top right corner folded over ("fold" 0: a plain sheet), and
// lines of text from "textTop" down, every two units.
void Sheet(QPainter& p, qreal x1, qreal y1, qreal x2, qreal y2, qreal fold, qreal textTop = -1) {
    QPainterPath page;
    page.moveTo(x1, y1);
    page.lineTo(x2 - fold, y1);
    page.lineTo(x2, y1 + fold);
    page.lineTo(x2, y2);
    page.lineTo(x1, y2);
    page.closeSubpath();
    Shape(p, page, kSheetInk);
    if (fold > 0) {
        Shape(p, Polygon({{x2 - fold, y1}, {x2 - fold, y1 + fold}, {x2, y1 + fold}}),
              {QColor(0xC9, 0xD1, 0xDB), kPaperLine});
    }
    if (textTop >= 0) {
        for (qreal y = textTop; y < y2 - 1.2; y += 2.0) {
            Line(p, {x1 + 1.8, y}, {x2 - 1.8, y}, kTextLine, g_line * 0.9);
        }
    }
}

void Globe(QPainter& p, qreal cx, qreal cy, qreal r) {
    const Ink globe{QColor(0x35, 0x9C, 0xE0), QColor(0x0B, 0x35, 0x5C)};
    Shape(p, Circle(cx, cy, r), globe);
    const QColor grid(0xE4, 0xF4, 0xFF);
    const qreal w = g_line * 0.8;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(grid, w));
    p.drawEllipse(QPointF(cx, cy), r * 0.43, r * 0.9);
    Line(p, {cx - r * 0.9, cy}, {cx + r * 0.9, cy}, grid, w);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(globe.line, g_line));
    p.drawEllipse(QPointF(cx, cy), r, r);
}

// An arrow lying along the x axis from 0 to "length", its tip at "length"; drawn after
// rotating by "angle" degrees (clockwise, y pointing down) and moving its tail to "tail".
void Arrow(QPainter& p, QPointF tail, qreal angle, qreal length, qreal shaft, qreal head,
           qreal headLength, const Ink& ink) {
    const qreal s = shaft / 2.0;
    const qreal h = head / 2.0;
    const qreal neck = length - headLength;
    QPainterPath arrow =
        Polygon({{0, -s}, {neck, -s}, {neck, -h}, {length, 0}, {neck, h}, {neck, s}, {0, s}});
    QTransform t;
    t.translate(tail.x(), tail.y());
    t.rotate(angle);
    Shape(p, t.map(arrow), ink);
}

void Import(QPainter& p) {
    Sheet(p, 5.5, 1.5, 14.5, 14.5, 3.0, 7.0);
    Arrow(p, {0.5, 8.0}, 0, 10.5, 3.0, 8.0, 4.5, kGreenArrow);
}

void Publish(QPainter& p) {
    Sheet(p, 1.5, 1.5, 10.5, 14.5, 3.0, 7.0);
    Globe(p, 11.0, 11.0, 4.5);
    Arrow(p, {6.0, 9.0}, -45, 9.2, 2.6, 6.5, 3.8, kGreenArrow);
}

void Print(QPainter& p) {
    const Ink body{QColor(0x9F, 0xAE, 0xC0), QColor(0x23, 0x2E, 0x3B)};
    Sheet(p, 4.0, 1.5, 12.0, 7.0, 0.0);
    Shape(p, Rounded(1.5, 5.5, 14.5, 11.5, 1.2), body);
    Fill(p, QRectF(3.0, 9.0, 10.0, 1.0), body.line); // the slot the paper comes out of
    Shape(p, Rect(3.5, 9.5, 12.5, 14.5), kSheetInk);
    Line(p, {5.5, 11.8}, {10.5, 11.8}, kTextLine, g_line * 0.9);
    Fill(p, QRectF(11.5, 6.8, 1.5, 1.2), QColor(0x5E, 0xE0, 0x6A)); // the lamp
}

void Funnel(QPainter& p) {
    const Ink funnel{QColor(0x5B, 0xB4, 0xF0), QColor(0x0E, 0x2F, 0x57)};
    Shape(p, Polygon({{0.5, 1.5}, {13.5, 1.5}, {8.5, 7.5}, {8.5, 12.0}, {5.5, 14.5}, {5.5, 7.5}}),
          funnel);
    Line(p, {1.8, 3.0}, {12.2, 3.0}, QColor(0xD4, 0xEC, 0xFF), g_line * 0.9);
}

// A rectangle in pixels of the picture being drawn, whatever its size: for the small
// rectilinear marks that must stay sharp.
void Pixels(QPainter& p, int x, int y, int w, int h, QColor color) {
    const qreal u = 16.0 / g_size;
    Fill(p, QRectF(x * u, y * u, w * u, h * u), color);
}

// The mark of a filter: a round badge at the bottom right, and in it the mark, pixel by
// pixel at 16 so that the two can be told apart.
const QColor kMarkInk(0x1A, 0x16, 0x08);

void FilterBadge(QPainter& p, QColor fill) {
    const qreal u = 16.0 / g_size;
    const bool small = g_size <= 16;
    Shape(p, small ? Circle(11.5, 11.5, 4.0) : Circle(17.0 * u, 17.0 * u, 6.0 * u),
          {fill, kMarkInk});
}

void FilterAny(QPainter& p) {
    // Either condition: a fork.
    Funnel(p);
    FilterBadge(p, QColor(0xFF, 0xD2, 0x4A));
    if (g_size <= 16) {
        for (int y : {9, 10}) {
            Pixels(p, 9, y, 1, 1, kMarkInk);
            Pixels(p, 13, y, 1, 1, kMarkInk);
        }
        for (int y : {11, 12}) {
            Pixels(p, 10, y, 1, 1, kMarkInk);
            Pixels(p, 12, y, 1, 1, kMarkInk);
        }
        Pixels(p, 11, 13, 1, 1, kMarkInk);
        return;
    }
    const qreal u = 16.0 / g_size;
    QPainterPath fork;
    fork.moveTo(14.0 * u, 13.8 * u);
    fork.lineTo(17.0 * u, 20.2 * u);
    fork.lineTo(20.0 * u, 13.8 * u);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kMarkInk, 1.8 * u, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(fork);
}

void FilterAll(QPainter& p) {
    // Every condition: two bars.
    Funnel(p);
    FilterBadge(p, QColor(0x7E, 0xD9, 0x6A));
    if (g_size <= 16) {
        Pixels(p, 9, 10, 5, 1, kMarkInk);
        Pixels(p, 9, 12, 5, 1, kMarkInk);
    } else {
        Pixels(p, 14, 14, 6, 2, kMarkInk);
        Pixels(p, 14, 18, 6, 2, kMarkInk);
    }
}

void Cut(QPainter& p) {
    // Scissors, open, their blades up: each blade runs from its point through the pivot
    // to the handle on the other side.
    const Ink handle{QColor(0xF0, 0x4A, 0x3C), QColor(0x4F, 0x12, 0x0B)};
    auto blade = [&](QPointF tip, QPointF root) {
        const QPointF d = root - tip;
        const qreal len = std::hypot(d.x(), d.y());
        const QPointF n(-d.y() / len, d.x() / len); // across the blade
        const QPointF mid = tip + d * 0.75;
        Shape(p, Polygon({tip, mid + n * 1.9, root + n * 1.1, root - n * 1.1, mid - n * 1.1}),
              {QColor(0xDD, 0xE4, 0xEC), kSteel.line});
    };
    blade({4.0, 0.8}, {10.6, 11.0});
    blade({12.0, 0.8}, {5.4, 11.0});
    for (qreal cx : {4.3, 11.7}) {
        QPainterPath ring;
        ring.addEllipse(QPointF(cx, 12.4), 3.0, 2.8);
        ring.addEllipse(QPointF(cx, 12.4), 1.2, 1.0);
        ring.setFillRule(Qt::OddEvenFill);
        Shape(p, ring, handle);
    }
    Shape(p, Circle(8.0, 7.0, 0.9), {QColor(0x5A, 0x66, 0x74), kSteel.line}, g_line * 0.7);
}

void Copy(QPainter& p) {
    Sheet(p, 1.5, 1.5, 10.0, 11.5, 0.0, 4.0);
    Sheet(p, 6.0, 4.5, 14.5, 14.5, 2.5, 8.0);
}

void Paste(QPainter& p) {
    const Ink board{QColor(0xC8, 0x8A, 0x44), QColor(0x4A, 0x2E, 0x12)};
    Shape(p, Rounded(1.5, 2.5, 12.0, 14.5, 1.0), board);
    Shape(p, Rounded(4.0, 1.0, 9.5, 4.5, 0.8), kSteel);
    Sheet(p, 6.5, 6.0, 14.5, 15.0, 2.5, 9.5);
}

void Delete(QPainter& p) {
    const Ink red{QColor(0xE8, 0x3B, 0x30), QColor(0x5A, 0x0C, 0x08)};
    QPainterPath bar;
    bar.addRoundedRect(QRectF(-7.0, -1.7, 14.0, 3.4), 0.8, 0.8);
    QTransform a;
    a.translate(8.0, 8.0);
    a.rotate(45);
    QTransform b;
    b.translate(8.0, 8.0);
    b.rotate(-45);
    Shape(p, a.map(bar).united(b.map(bar)).simplified(), red);
}

// The list pictures: a white window with the items in it, laid out pixel by pixel for each
// size so that the small squares stay sharp.
const QColor kItemBlue(0x2F, 0x7F, 0xD8);
const QColor kItemText(0x6B, 0x76, 0x84);

// Returns the width of its frame in pixels.
int ListWindow(QPainter& p) {
    const int frame = g_size <= 16 ? 1 : 2;
    Pixels(p, 0, 0, g_size, g_size, kPaperLine);
    Pixels(p, frame, frame, g_size - 2 * frame, g_size - 2 * frame, QColor(0xFF, 0xFF, 0xFF));
    return frame;
}

// Squares and their captions: "square" pixels wide at the columns and rows given, each with
// a line of "text" pixels after a pixel of space ("text" 0: none).
void ListItems(QPainter& p, std::initializer_list<int> columns, std::initializer_list<int> rows,
               int square, int text) {
    const int thickness = square >= 4 ? 2 : 1;
    for (int y : rows) {
        for (int x : columns) {
            Pixels(p, x, y, square, square, kItemBlue);
            if (text > 0) {
                Pixels(p, x + square + 1, y + (square - thickness) / 2, text, thickness, kItemText);
            }
        }
    }
}

void ViewLargeIcons(QPainter& p) {
    ListWindow(p);
    const bool small = g_size <= 16;
    const int side = small ? 5 : 7;
    // Named arrays: a braced list chosen by a condition would not outlive the condition.
    const std::array<int, 2> places = small ? std::array<int, 2>{2, 9} : std::array<int, 2>{4, 13};
    for (int x : places) {
        for (int y : places) {
            Pixels(p, x, y, side, side, QColor(0x0E, 0x2F, 0x57));
            Pixels(p, x + 1, y + 1, side - 2, side - 2, QColor(0x5B, 0xA6, 0xE8));
        }
    }
}

void ViewSmallIcons(QPainter& p) {
    ListWindow(p);
    if (g_size <= 16) {
        ListItems(p, {2, 9}, {2, 6, 10}, 3, 2);
    } else {
        ListItems(p, {3, 13}, {3, 10, 17}, 4, 3);
    }
}

void ViewList(QPainter& p) {
    ListWindow(p);
    if (g_size <= 16) {
        ListItems(p, {2, 9}, {2, 5, 8, 11}, 2, 2);
    } else {
        ListItems(p, {3, 13}, {3, 8, 13, 18}, 3, 4);
    }
}

void ViewDetails(QPainter& p) {
    const int frame = ListWindow(p);
    const bool small = g_size <= 16;
    // the header, its division, and under it the rows with a second column
    const int header = small ? 3 : 4;
    const int inner = g_size - 2 * frame;
    Pixels(p, frame, frame, inner, header, QColor(0xB8, 0xC4, 0xD2));
    Pixels(p, small ? 8 : 12, frame, 1, header, kPaperLine);
    Pixels(p, frame, frame + header, inner, 1, kPaperLine);
    if (small) {
        ListItems(p, {2}, {6, 9, 12}, 2, 4);
        for (int y : {6, 9, 12}) {
            Pixels(p, 10, y, 4, 1, kItemText);
        }
    } else {
        ListItems(p, {3}, {9, 13, 17}, 3, 6);
        for (int y : {9, 13, 17}) {
            Pixels(p, 14, y + 1, 6, 1, kItemText);
        }
    }
}

void Tools(QPainter& p) {
    // A wrench lying from the bottom left to its open jaw at the top right.
    QPainterPath handle;
    handle.addRoundedRect(QRectF(-8.0, -1.7, 11.5, 3.4), 1.7, 1.7);
    QPainterPath head;
    head.addEllipse(QPointF(4.6, 0.0), 3.6, 3.6);
    QPainterPath jaw;
    jaw.addRect(QRectF(4.2, -1.4, 5.0, 2.8));
    QPainterPath wrench = handle.united(head).subtracted(jaw);
    QTransform t;
    t.translate(7.6, 8.4);
    t.rotate(-45);
    Shape(p, t.map(wrench).simplified(), kSteel);
}

void GetUrl(QPainter& p) {
    Globe(p, 7.0, 7.0, 6.0);
    // fetched from there: an arrow coming down out of the globe
    Arrow(p, {12.0, 6.5}, 90, 9.0, 2.6, 6.5, 3.8, kGreenArrow);
}

void Help(QPainter& p) {
    Shape(p, Circle(8.0, 8.0, 7.0), kBlueArrow);
    const QColor mark(0xFF, 0xFF, 0xFF);
    QPainterPath hook;
    hook.moveTo(5.6, 6.0);
    hook.arcTo(QRectF(5.6, 3.4, 4.8, 4.8), 180, -250);
    hook.quadTo(8.0, 8.4, 8.0, 9.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mark, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(hook);
    Fill(p, QRectF(7.1, 11.0, 1.8, 1.8), mark);
}

void WindowFrame(QPainter& p, qreal x1, qreal y1, qreal x2, qreal y2, QColor title) {
    Shape(p, Rect(x1, y1, x2, y2), {QColor(0xFF, 0xFF, 0xFF), kPaperLine});
    Shape(p, Rect(x1, y1, x2, y1 + 2.5), {title, kPaperLine});
}

void ToggleLayout(QPainter& p) {
    WindowFrame(p, 0.5, 1.5, 10.5, 10.0, QColor(0x9F, 0xAE, 0xC0));
    WindowFrame(p, 5.5, 6.0, 15.5, 14.5, QColor(0x3E, 0x8E, 0xE6));
}

void UpOneLevel(QPainter& p) {
    // A folder, and an arrow rising out of it and turning to the left.
    QPainterPath back;
    back.moveTo(3.5, 14.5);
    back.lineTo(3.5, 7.5);
    back.lineTo(7.0, 7.5);
    back.lineTo(8.5, 9.0);
    back.lineTo(15.0, 9.0);
    back.lineTo(15.0, 14.5);
    back.closeSubpath();
    Shape(p, back, kFolderBack);
    Shape(p, Rounded(3.5, 10.5, 15.0, 14.5, 0.6), kFolderFront);
    Shape(p,
          Polygon({{0.5, 4.5},
                   {5.0, 0.5},
                   {5.0, 3.0},
                   {12.5, 3.0},
                   {12.5, 12.0},
                   {9.5, 12.0},
                   {9.5, 6.0},
                   {5.0, 6.0},
                   {5.0, 8.5}}),
          kGreenArrow);
}

void Category(QPainter& p) {
    // A price tag hanging from its hole, pointing to the top left.
    const Ink tag{QColor(0xF2, 0xC0, 0x3C), QColor(0x5C, 0x3A, 0x00)};
    QPainterPath shape = Polygon({{-7.5, 0.0}, {-3.5, -4.0}, {7.0, -4.0}, {7.0, 4.0}, {-3.5, 4.0}});
    QPainterPath hole;
    hole.addEllipse(QPointF(-3.0, 0.0), 1.3, 1.3);
    QTransform t;
    t.translate(8.0, 8.0);
    t.rotate(45);
    Shape(p, t.map(shape.subtracted(hole)), tag);
}

// Named after the commands; CommandPicture() in the program looks them up by these names.
const Picture kCommandPictures[] = {
    {"import", Import},
    {"publish", Publish},
    {"print", Print},
    {"filter-any", FilterAny},
    {"filter-all", FilterAll},
    {"cut", Cut},
    {"copy", Copy},
    {"paste", Paste},
    {"delete", Delete},
    {"view-large-icons", ViewLargeIcons},
    {"view-small-icons", ViewSmallIcons},
    {"view-list", ViewList},
    {"view-details", ViewDetails},
    {"tools", Tools},
    {"get-url", GetUrl},
    {"help", Help},
    {"toggle-layout", ToggleLayout},
    {"up-one-level", UpOneLevel},
    {"category", Category},
};
constexpr int kCommandSizes[2] = {16, 24};

QImage Draw(void (*draw)(QPainter&), int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal scale = size / 16.0;
    p.scale(scale, scale);
    // Outline widths in pixels: 1 at 16, 1.5 at 32, then growing with the size.
    g_size = size;
    g_line = (size <= 16 ? 1.0 : size <= 32 ? 1.5 : size / 20.0) / scale;
    draw(p);
    p.end();
    return image;
}

QImage DrawBullet(int height) {
    QImage image(11, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Bullet(p, height);
    p.end();
    return image;
}

bool Save(const QImage& image, const QString& path) {
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage Magnified(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void ContactSheet(const QString& path, const QList<QImage>& small, const QList<QImage>& large,
                  const QList<QImage>& program, const QImage& bullet) {
    const int factor = 3;
    const int cell = 32 * factor + 12;
    const int width = 14 * cell + 20;
    const int band = 10 + 16 * factor + 10 + 32 * factor + 10 + 32 + 20 + 128 + 10;
    QImage sheet(width, band * 2, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sheet);
    const QColor backgrounds[2] = {QColor(0xF4, 0xF4, 0xF2), QColor(0x2B, 0x2D, 0x31)};
    for (int b = 0; b < 2; ++b) {
        const int top = b * band;
        p.fillRect(0, top, width, band, backgrounds[b]);
        for (int i = 0; i < 14; ++i) {
            const int x = 10 + i * cell;
            p.drawImage(x, top + 10, Magnified(small[i], factor));
            p.drawImage(x, top + 20 + 16 * factor, Magnified(large[i], factor));
            // and at their real sizes, as they will be seen
            p.drawImage(x, top + 30 + 48 * factor, small[i]);
            p.drawImage(x + 24, top + 30 + 48 * factor, large[i]);
        }
        int x = 10;
        const int y = top + 30 + 48 * factor + 32 + 20;
        for (const QImage& icon : program) {
            p.drawImage(x, y, icon);
            x += icon.width() + 10;
        }
        p.drawImage(x + 10, y, Magnified(bullet, factor));
        p.drawImage(x + 60, y, bullet);
    }
    p.end();
    Save(sheet, path);
}

void CommandSheet(const QString& path, const QList<QImage>& small, const QList<QImage>& large) {
    // Seven to a row: each picture at 16 pixels magnified 6 times beside 24 pixels magnified
    // 4 times (as big as each other), and under them both at their real sizes.
    const int n = int(small.size());
    const int columns = 7;
    const int rows = (n + columns - 1) / columns;
    const int cellWidth = 96 + 8 + 96 + 16;
    const int cellHeight = 96 + 8 + 24 + 16;
    const int width = columns * cellWidth + 16;
    const int band = rows * cellHeight + 16;
    QImage sheet(width, band * 2, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sheet);
    const QColor backgrounds[2] = {QColor(0xF4, 0xF4, 0xF2), QColor(0x2B, 0x2D, 0x31)};
    for (int b = 0; b < 2; ++b) {
        p.fillRect(0, b * band, width, band, backgrounds[b]);
        for (int i = 0; i < n; ++i) {
            const int x = 16 + (i % columns) * cellWidth;
            const int y = b * band + 16 + (i / columns) * cellHeight;
            p.drawImage(x, y, Magnified(small[i], 6));
            p.drawImage(x + 104, y, Magnified(large[i], 4));
            p.drawImage(x, y + 104, small[i]);
            p.drawImage(x + 24, y + 104, large[i]);
        }
    }
    p.end();
    Save(sheet, path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quill_draw_pictures OUTDIR [SHEET.png [COMMAND-SHEET.png]]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    QString qrc;
    QTextStream q(&qrc);
    q << "<!-- Written by tools/icons/draw_pictures.cpp; do not edit by hand. -->\n"
      << "<RCC>\n  <qresource prefix=\"/quillmere\">\n";
    QList<QImage> small;
    QList<QImage> large;
    for (int i = 0; i < 14; ++i) {
        for (int size : {16, 32}) {
            const QImage image = Draw(kPictures[i].draw, size);
            (size == 16 ? small : large).push_back(image);
            const QString file = QStringLiteral("%1-%2-%3.png")
                                     .arg(i, 2, 10, QLatin1Char('0'))
                                     .arg(QLatin1String(kPictures[i].name))
                                     .arg(size);
            if (!Save(image, out + QLatin1Char('/') + file)) {
                return 1;
            }
            q << "    <file alias=\"pictures/" << size << '/' << i << ".png\">" << file
              << "</file>\n";
        }
    }
    QList<QImage> program;
    for (int size : {16, 32, 48, 64, 128}) {
        const QImage image = Draw(ProgramIcon, size);
        program.push_back(image);
        const QString file = QStringLiteral("quillmere-%1.png").arg(size);
        if (!Save(image, out + QLatin1Char('/') + file)) {
            return 1;
        }
        q << "    <file alias=\"program/" << size << ".png\">" << file << "</file>\n";
    }
    QImage bullet16;
    for (int height : {16, 32}) {
        const QImage image = DrawBullet(height);
        if (height == 16) {
            bullet16 = image;
        }
        const QString file = QStringLiteral("bullet-%1.png").arg(height);
        if (!Save(image, out + QLatin1Char('/') + file)) {
            return 1;
        }
        q << "    <file alias=\"bullet/" << height << ".png\">" << file << "</file>\n";
    }
    QList<QImage> commandsSmall;
    QList<QImage> commandsLarge;
    for (const Picture& picture : kCommandPictures) {
        for (int size : kCommandSizes) {
            const QImage image = Draw(picture.draw, size);
            (size == 16 ? commandsSmall : commandsLarge).push_back(image);
            const QString file =
                QStringLiteral("command-%1-%2.png").arg(QLatin1String(picture.name)).arg(size);
            if (!Save(image, out + QLatin1Char('/') + file)) {
                return 1;
            }
            q << "    <file alias=\"commands/" << size << '/' << picture.name << ".png\">" << file
              << "</file>\n";
        }
    }
    q << "  </qresource>\n</RCC>\n";
    q.flush();
    QFile qrcFile(out + QStringLiteral("/pictures.qrc"));
    if (!qrcFile.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        qrcFile.write(qrc.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write pictures.qrc\n");
        return 1;
    }
    if (argc > 2) {
        ContactSheet(QString::fromLocal8Bit(argv[2]), small, large, program, bullet16);
    }
    if (argc > 3) {
        CommandSheet(QString::fromLocal8Bit(argv[3]), commandsSmall, commandsLarge);
    }
    return 0;
}
