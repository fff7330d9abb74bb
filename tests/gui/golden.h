#pragma once
// Screenshots compared with a committed picture, with a tolerance for font rendering.
// QEL_UPDATE_GOLDEN=1 writes the pictures instead.

#include <QImage>
#include <QString>

bool matchesGolden(const QImage& shot, const QString& name);
