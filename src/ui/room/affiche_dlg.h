#pragma once
// CAfficheDlg: the room's announcement board. A title band ("公告栏" and the number of people in
// the room against the room's maximum) above the announcement, whose anchor elements show as links.
#include <QString>
#include <QWidget>
#include <string>

#include "client/announcement_links.h"

class QTextBrowser;

namespace chat {

class CAfficheDlg : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTitleBandHeight = 20;

    explicit CAfficheDlg(QWidget* parent = nullptr);

    // Replaces the announcement and its links.
    void setAnnouncement(std::u16string_view announcement);
    const AnnouncementContent& announcement() const { return content_; }
    // The people count of the title band; repaints when it changes.
    void setPeople(int count, uint32_t maximum);
    QString peopleText() const;
    QTextBrowser* control() const { return control_; }

    // A left click at a position of the control's text: the address of the link there (an anchor
    // of the announcement, or an address written out in it), empty when there is none.
    std::u16string linkTargetAt(int position) const;

  signals:
    // A link of the announcement was clicked; `target` is never empty.
    void linkClicked(const std::u16string& target);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showContent();

    QTextBrowser* control_;
    AnnouncementContent content_;
    // Addresses written out in the plain parts of the announcement, target = the address.
    std::vector<AnnouncementLink> writtenAddresses_;
    int people_ = 0;
    uint32_t maximum_ = 0;
};

}  // namespace chat
