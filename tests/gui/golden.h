#pragma once
// Screenshots compared with a committed picture, with a tolerance for font rendering.
// QEL_UPDATE_GOLDEN=1 writes the pictures instead.

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

// ignored: parts whose content depends on the machine, such as a log line naming the checkout.
bool matchesGolden(const QImage& shot, const QString& name, const QList<QRect>& ignored = {});
