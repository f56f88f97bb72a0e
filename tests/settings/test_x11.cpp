// Runs on a real X server (xvfb-run): the dark title-bar request must land on
// the top-level native window.
#include "settings/uFMXUtils.h"
#include "tests/settings/QtThreadsTsan.h"

#include <QApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <cstring>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace {

QByteArray Property(QWidget* w, const char* name) {
  auto* c = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(strlen(name)), name), nullptr);
  if (!atom || atom->atom == XCB_ATOM_NONE) return {};
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, xcb_window_t(w->winId()), atom->atom, XCB_ATOM_ANY, 0, 64), nullptr);
  QByteArray value;
  if (reply) value = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                                xcb_get_property_value_length(reply));
  free(reply);
  free(atom);
  return value;
}

TEST(TitleBar, DarkModeMarksTheTopLevelWindowDark) {
  ASSERT_TRUE(qApp->nativeInterface<QNativeInterface::QX11Application>()) << "needs an X11 display";
  QWidget light, dark;
  QWidget* child = new QWidget(&dark);
  IsLightMode = true;
  EXPECT_FALSE(SetDarkTitleBar(&light));
  light.show();
  EXPECT_EQ(Property(&light, "_GTK_THEME_VARIANT"), QByteArray());

  IsLightMode = false;
  EXPECT_TRUE(SetDarkTitleBar(child));  // a child asks for its window
  dark.show();
  EXPECT_EQ(Property(&dark, "_GTK_THEME_VARIANT"), QByteArray("dark"));
  EXPECT_FALSE(SetWindowCorner(&dark, 1));
  IsLightMode = true;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
