#pragma once

#include <QStringView>

// The main window's controls: their object names, which the program, the
// unit tests and the end-to-end journeys all use to find them, and where
// each is drawn, in twips inside its container (15 twips to a pixel at
// 96 dots per inch). The end-to-end journeys read this file as it stands:
// keep one entry to a line.
struct ControlPlace
{
    QStringView name;
    QStringView container;
    int left;
    int top;
    int width;
    int height;
};

inline constexpr ControlPlace kMainWindowControls[] = {
    {u"Frame1", u"frmMain", 105, 75, 2865, 3960},
    {u"lTime", u"Frame1", 120, 330, 765, 180},
    {u"Label2", u"Frame1", 120, 750, 720, 180},
    {u"cZQH", u"Frame1", 900, 686, 690, 300},
    {u"Label1", u"Frame1", 1635, 750, 180, 180},
    {u"cZQM", u"Frame1", 1875, 686, 690, 300},
    {u"Label7", u"Frame1", 2610, 750, 180, 180},
    {u"tSJ", u"Frame1", 900, 1091, 690, 300},
    {u"Label3", u"Frame1", 120, 1155, 2610, 180},
    {u"Label4", u"Frame1", 120, 1560, 720, 180},
    {u"cJS", u"Frame1", 900, 1496, 1860, 300},
    {u"Label5", u"Frame1", 120, 1965, 720, 180},
    {u"cTX", u"Frame1", 900, 1901, 1860, 300},
    {u"Label10", u"Frame1", 120, 2370, 720, 180},
    {u"cTxt", u"Frame1", 900, 2306, 1860, 300},
    {u"Label6", u"Frame1", 120, 2775, 720, 180},
    {u"cDZ", u"Frame1", 900, 2715, 1860, 300},
    {u"cmdAdd", u"Frame1", 120, 3165, 2625, 690},
    {u"Frame3", u"frmMain", 105, 4080, 2865, 1050},
    {u"ckClr", u"Frame3", 150, 315, 2040, 225},
    {u"ckAuto", u"Frame3", 150, 660, 1770, 255},
    {u"Frame2", u"frmMain", 3015, 75, 5340, 5055},
    {u"lstA", u"Frame2", 120, 315, 5085, 4560},
    {u"pBox", u"Frame2", 145, 545, 4995, 4215},
    {u"Label9", u"frmMain", 90, 5250, 6450, 240},
    {u"Label8", u"frmMain", 7605, 5280, 720, 180},
};

// The place drawn for a control; a name not in the table is a programming
// error.
constexpr const ControlPlace& PlaceOf(QStringView name)
{
    for (const ControlPlace& place : kMainWindowControls) {
        if (place.name == name)
            return place;
    }
    throw "no such control";
}
