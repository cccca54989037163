// The time left until the Daystride event, beside the clock symbol, in a Plasma panel
// (whose system tray shows status notifier items as icons only). The text comes from
// the running program's `daystride --status --json`, asked again every few seconds:
// Plasma's executable engine returns a command's output only once it has ended. A
// click opens the running program's popover: a second start asks the first for it.
import QtQuick 2.15
import QtQuick.Layouts 1.15
import org.kde.plasma.core 2.0 as PlasmaCore
import org.kde.plasma.components 3.0 as PlasmaComponents
import org.kde.plasma.plasmoid 2.0
import org.kde.kirigami 2.20 as Kirigami

Item {
    id: root

    property string text: ""
    property string tooltip: ""
    readonly property string statusCommand: "daystride --status --json"

    Plasmoid.preferredRepresentation: Plasmoid.compactRepresentation
    Plasmoid.toolTipMainText: "Daystride"
    Plasmoid.toolTipSubText: root.tooltip
    Plasmoid.backgroundHints: PlasmaCore.Types.NoBackground

    PlasmaCore.DataSource {
        id: commands
        engine: "executable"
        connectedSources: []
        onNewData: {
            if (sourceName === root.statusCommand && data["exit code"] === 0) {
                // The last line: the status as it stands now.
                const lines = data["stdout"].trim().split("\n");
                try {
                    const status = JSON.parse(lines[lines.length - 1]);
                    root.text = status.text || "";
                    root.tooltip = status.tooltip || "";
                } catch (error) {
                    root.text = "";
                }
            }
            disconnectSource(sourceName);
        }
        function run(command) {
            connectSource(command);
        }
    }

    Timer {
        interval: 5000
        running: true
        repeat: true
        triggeredOnStart: true
        onTriggered: commands.run(root.statusCommand)
    }

    Plasmoid.compactRepresentation: MouseArea {
        id: compact

        readonly property bool vertical: Plasmoid.formFactor === PlasmaCore.Types.Vertical

        Layout.minimumWidth: vertical ? 0 : row.implicitWidth
        Layout.preferredWidth: vertical ? -1 : row.implicitWidth
        Layout.minimumHeight: vertical ? row.implicitHeight : 0

        Accessible.role: Accessible.Button
        Accessible.name: root.text.length ? root.text : "Daystride"
        Accessible.description: root.tooltip

        onClicked: commands.run("daystride")

        RowLayout {
            id: row
            anchors.centerIn: parent
            height: parent.height
            spacing: PlasmaCore.Units.smallSpacing

            Kirigami.Icon {
                Layout.preferredWidth: PlasmaCore.Units.iconSizes.small
                Layout.preferredHeight: PlasmaCore.Units.iconSizes.small
                Layout.alignment: Qt.AlignVCenter
                source: Qt.resolvedUrl("../images/clock.fill.svg")
                isMask: true
                color: PlasmaCore.Theme.textColor
            }
            PlasmaComponents.Label {
                id: label
                Layout.alignment: Qt.AlignVCenter
                text: root.text
                visible: root.text.length > 0
                Accessible.name: root.text
            }
        }
    }

    Plasmoid.fullRepresentation: Item {}
}
