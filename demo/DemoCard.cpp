// The window the demo puts on its private desktop before it makes a hard copy: a test card with
// colour bars, a grey wedge, a small picture and Japanese text, so the printed page shows what
// the program does. Prints "ready" on stdout once the window is on the screen.
#include <QApplication>
#include <QDateTime>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

QString T(const char* text)
{
    return QString::fromUtf8(text);
}

class TestCard : public QWidget {
public:
    TestCard()
    {
        setWindowTitle(T("トヴリモ デモ - テストカード"));
        setFixedSize(880, 620);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(250, 248, 240));

        QFont heading(QStringLiteral("IPAGothic"), 26, QFont::Bold);
        p.setFont(heading);
        p.setPen(QColor(30, 30, 30));
        p.drawText(QRect(0, 14, width(), 50), Qt::AlignCenter,
                   T("トヴリモ 画面ハードコピーのデモ"));

        // Colour bars: white, yellow, cyan, green, magenta, red, blue, black.
        const QColor bars[] = {
            Qt::white,           QColor(255, 255, 0), QColor(0, 255, 255), QColor(0, 255, 0),
            QColor(255, 0, 255), QColor(255, 0, 0),   QColor(0, 0, 255),   Qt::black};
        const int barTop = 76, barHeight = 150, barWidth = (width() - 40) / 8;
        for (int i = 0; i < 8; ++i) {
            p.fillRect(20 + i * barWidth, barTop, barWidth, barHeight, bars[i]);
        }
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(20, barTop, barWidth * 8, barHeight);

        // Grey wedge in eleven steps.
        const int wedgeTop = barTop + barHeight + 8, stepWidth = (width() - 40) / 11;
        for (int i = 0; i <= 10; ++i) {
            const int v = 255 * i / 10;
            p.fillRect(20 + i * stepWidth, wedgeTop, stepWidth, 26, QColor(v, v, v));
        }

        // A picture: a mountain under a red sun, above the sea.
        const QRect picture(20, wedgeTop + 40, 400, 300);
        QLinearGradient sky(picture.topLeft(), picture.bottomLeft());
        sky.setColorAt(0, QColor(120, 180, 240));
        sky.setColorAt(1, QColor(230, 240, 255));
        p.fillRect(picture, sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 30, 40));
        p.drawEllipse(QPoint(picture.right() - 90, picture.top() + 80), 45, 45);
        QPainterPath mountain;
        mountain.moveTo(picture.left() + 30, picture.bottom() - 70);
        mountain.lineTo(picture.left() + 170, picture.top() + 90);
        mountain.lineTo(picture.left() + 230, picture.top() + 90);
        mountain.lineTo(picture.right() - 30, picture.bottom() - 70);
        mountain.closeSubpath();
        p.setBrush(QColor(70, 90, 140));
        p.drawPath(mountain);
        QPainterPath snow;
        snow.moveTo(picture.left() + 132, picture.top() + 134);
        snow.lineTo(picture.left() + 170, picture.top() + 90);
        snow.lineTo(picture.left() + 230, picture.top() + 90);
        snow.lineTo(picture.left() + 268, picture.top() + 134);
        snow.lineTo(picture.left() + 200, picture.top() + 120);
        snow.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(snow);
        p.fillRect(picture.left(), picture.bottom() - 70, picture.width(), 71, QColor(20, 90, 160));
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(picture);

        // Text beside the picture.
        QFont body(QStringLiteral("IPAGothic"), 15);
        p.setFont(body);
        p.setPen(QColor(20, 20, 20));
        const QRect text(picture.right() + 24, picture.top(), width() - picture.right() - 44,
                         picture.height());
        p.drawText(
            text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
            T("これはデモ用のデスクトップです。\n\n"
              "トヴリモは通知領域に常駐し、デスクトップ全体・アクティブウィンドウ・"
              "範囲指定・クリップボード・画像ファイルの画像を、プリンタ・クリップボード・"
              "付せんへ送ります。\n\n"
              "カラーバー、グレースケール、富士山の絵がそのまま印刷されていれば成功です。\n\n") +
                QDateTime::currentDateTime().toString(QStringLiteral("yyyy年M月d日 H:mm")));

        if (!painted_) {
            // Told once the card has painted itself on the mapped window.
            painted_ = true;
            QTimer::singleShot(200, this, [] {
                std::puts("ready");
                std::fflush(stdout);
            });
        }
    }

private:
    bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestCard card;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    card.move(screen.center() - QPoint(card.width() / 2, card.height() / 2));
    card.show();
    return app.exec();
}
