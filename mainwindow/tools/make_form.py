#!/usr/bin/env python3
"""Writes mainwindow/ZolvarDlg.ui, the main window's Qt Designer form.

The form is large and its property rows repeat one pattern, so it is kept as
tables here and written out in full. The .ui file is what the build compiles;
run this after editing the tables:

    python3 mainwindow/tools/make_form.py
"""

import os
import xml.etree.ElementTree as ET

M = 16777200.0       # the widest edit-box bound
QWIDGETSIZE_MAX = 16777215

# --------------------------------------------------------------------------
# XML helpers
# --------------------------------------------------------------------------

def el(tag, attrs=None, children=(), text=None):
    e = ET.Element(tag, {k: str(v) for k, v in (attrs or {}).items()})
    if text is not None:
        e.text = str(text)
    for c in children:
        if c is not None:
            e.append(c)
    return e


def string(s):
    return el('string') if s == '' else el('string', text=s)


def number(n):
    return el('number', text=int(n))


def double(d):
    return el('double', text='%.6f' % d)


def boolean(b):
    return el('bool', text='true' if b else 'false')


def enum(e):
    return el('enum', text=e)


def flags(s):
    return el('set', text=s)


def size(w, h):
    return el('size', children=[el('width', text=w), el('height', text=h)])


def rect(x, y, w, h):
    return el('rect', children=[el('x', text=x), el('y', text=y),
                                el('width', text=w), el('height', text=h)])


def sizepolicy(h, v):
    return el('sizepolicy', {'hsizetype': h, 'vsizetype': v},
              [el('horstretch', text=0), el('verstretch', text=0)])


def prop(name, value, stdset=True):
    attrs = {'name': name}
    if not stdset:
        attrs['stdset'] = '0'
    return el('property', attrs, [value])


def attribute(name, value):
    return el('attribute', {'name': name}, [value])


def widget(cls, name, props=(), children=()):
    return el('widget', {'class': cls, 'name': name}, list(props) + list(children))


def layout(cls, name, props=(), items=()):
    return el('layout', {'class': cls, 'name': name}, list(props) + list(items))


def item(content, row=None, column=None, colspan=None):
    attrs = {}
    if row is not None:
        attrs['row'] = row
        attrs['column'] = column
    if colspan is not None:
        attrs['colspan'] = colspan
    return el('item', attrs, [content])


def spacer(w, h, hpolicy, vpolicy):
    """A spacer of w × h with the given horizontal and vertical policies.
    Spacers are named in document order once the whole form stands."""
    vertical = hpolicy == 'Minimum' and vpolicy != 'Minimum'
    return el('spacer', {'name': 'verticalSpacer' if vertical else 'horizontalSpacer'}, [
        prop('orientation', enum('Qt::Vertical' if vertical else 'Qt::Horizontal')),
        prop('sizeType', enum('QSizePolicy::' + (vpolicy if vertical else hpolicy))),
        prop('sizeHint', size(w, h), stdset=False),
    ])


def margins(l, t, r, b):
    return [prop('leftMargin', number(l)), prop('topMargin', number(t)),
            prop('rightMargin', number(r)), prop('bottomMargin', number(b))]


def spacing(n):
    return prop('spacing', number(n))


ALIGN_RIGHT = 'Qt::AlignRight|Qt::AlignTrailing|Qt::AlignVCenter'
ALIGN_LEFT = 'Qt::AlignLeading|Qt::AlignLeft|Qt::AlignVCenter'
ALIGN_TOP_LEFT = 'Qt::AlignLeading|Qt::AlignLeft|Qt::AlignTop'


def label(name, text, enabled=True, extra=()):
    props = [] if enabled else [prop('enabled', boolean(False))]
    props += list(extra)
    props.append(prop('text', string(text)))
    return widget('QLabel', name, props)


def tool_button(name, tooltip=None, text='', extra=()):
    props = list(extra)
    if tooltip is not None:
        props.append(prop('toolTip', string(tooltip)))
    props.append(prop('text', string(text)))
    return widget('QToolButton', name, props)


def disabled(enabled):
    return [] if enabled else [prop('enabled', boolean(False))]


# --------------------------------------------------------------------------
# Actions, menus, docks
# --------------------------------------------------------------------------

# name, text, shortcut, checkable/checked (None, False, True), extra props
ACTIONS = [
    ('dockGlobalProperties', 'Global Properties', 'Alt+3', True, {}),
    ('dockExport', 'Export', 'Alt+6', True, {}),
    ('dockBodies', 'Bodies', 'Alt+1', True, {}),
    ('dockJoints', 'Joints', 'Alt+2', True, {}),
    ('showAbout', 'About Zolvar...', '', None, {}),
    ('showDocumentation', "Zolvar User's Guide...", '', None, {'toolTip': "Open User's Guide"}),
    ('showKeyboardShortcuts', 'Keyboard Shortcuts...', 'Alt+.', None, {}),
    ('onAutoLoadSave', 'Auto Load/Save Settings', '', False, {}),
    ('onLoadSettings', 'Load Settings...', 'Alt+O', None, {}),
    ('onSaveSettings', 'Save Settings...', 'Alt+S', None, {}),
    ('dockInfo', 'Info', 'Alt+7', True, {}),
    ('undo', 'Undo', '', None, {}),
    ('redo', 'Redo', '', None, {}),
    ('dockActionsHistory', 'Actions History', 'Alt+8', True, {}),
    ('dockBodyProperties', 'Body Properties', 'Alt+4', True, {}),
    ('dockJointProperties', 'Joint Properties', 'Alt+5', True, {}),
    ('onQuitZolvar', 'Quit Zolvar', 'Ctrl+Alt+Q', None, {}),
    ('showPreferences', 'Preferences...', 'Ctrl+Alt+P', None,
     {'iconText': 'Zolvar Preferences', 'toolTip': 'Zolvar Preferences'}),
    ('clearActionsHistory', 'Clear Actions History', 'Ctrl+Alt+8', None, {}),
    ('toggleAll', 'Toggle All', 'Ctrl+Alt+1', None, {'toolTip': 'Toggle All'}),
    ('actionDefaultLayout', 'Reset to Default Layout', 'Alt+0', None, {}),
    ('onCopyBodySettings', 'Copy Body Settings', '', None, {}),
    ('onPasteBodySettings', 'Paste Body Settings', '', None, {}),
    ('onCopyJointSettings', 'Copy Joint Settings', '', None, {}),
    ('onPasteJointSettings', 'Paste Joint Settings', '', None, {}),
    ('onWithTheSameColor', 'With the Same Color', 'C', None, {}),
    ('onWithTheSameLabel', 'With the Same Label', 'L', None, {}),
    ('onWithTheSameCollisionGroup', 'With the Same Collision Group', 'Q', None, {}),
    ('onWithTheSameType', 'With the Same Type', 'T', None, {}),
    ('onInvertSelection', 'Invert Selection', 'I', None, {}),
    ('onOfTheSelectedBodies', 'Of the Selected Bodies', 'W', None, {}),
    ('onWithTheSameJointType', 'With the Same Type', 'F', None, {}),
    ('onRemoveJointsOfSelectedBodies', 'Remove Joints of Selected Bodies', 'Alt+W', None, {}),
    ('onSetColor', 'Set Color...', '', None, {}),
    ('onSetPosition', 'Set Position...', '', None, {}),
    ('onSetRotation', 'Set Rotation...', '', None, {}),
    ('onStatic', 'Static', 'S', None, {}),
    ('onKinematic', 'Kinematic', 'K', None, {}),
    ('onDynamic', 'Dynamic', 'D', None, {}),
    ('onDormant', 'Dormant', 'A', None, {}),
    ('onAEmatic', 'AEmatic', 'M', None, {}),
    ('onDead', 'Dead', 'E', None, {}),
    ('onRandomizer', 'Randomizer...', 'Ctrl+Alt+Shift+R', None, {}),
    ('onBodyProperties', 'Body Properties', '', None, {}),
    ('onBodyTransform', 'Body Transform', '', None, {}),
    ('onAEmaticAnchorToCenter', 'AEmatic Anchor to Center', 'X', None, {}),
    ('onPanAndZoom', 'Pan and Zoom', 'Z', None, {}),
    ('onScene', 'Scene', '', None, {}),
]


def action(name, text, shortcut, checked, extra):
    props = []
    if checked is not None:
        props.append(prop('checkable', boolean(True)))
        props.append(prop('checked', boolean(checked)))
    props.append(prop('text', string(text)))
    if 'iconText' in extra:
        props.append(prop('iconText', string(extra['iconText'])))
    if 'toolTip' in extra:
        props.append(prop('toolTip', string(extra['toolTip'])))
    if shortcut:
        props.append(prop('shortcut', string(shortcut)))
    return el('action', {'name': name}, props)


# Created in this order; shown on the menu bar in MENU_BAR order.
MENUS = [
    ('menuPanel', 'Panel', ['dockBodies', 'dockJoints', 'dockGlobalProperties',
                            'dockBodyProperties', 'dockJointProperties', 'dockExport',
                            'dockInfo', 'dockActionsHistory', 'separator', 'toggleAll',
                            'actionDefaultLayout']),
    ('menuHelp', 'Help', ['showDocumentation', 'showKeyboardShortcuts']),
    ('menuFile', 'File', ['onAutoLoadSave', 'separator', 'onLoadSettings', 'onSaveSettings']),
    ('menuEdit', 'Edit', []),
    ('menuZolvar', 'Zolvar', ['showAbout', 'showPreferences', 'separator', 'onQuitZolvar']),
]
MENU_BAR = ['menuZolvar', 'menuFile', 'menuEdit', 'menuPanel', 'menuHelp']

AREA = {'left': 1, 'right': 2, 'top': 4, 'bottom': 8}


def dock(name, title, area, contents, grid, grid_margins, items, extra=()):
    return widget('QDockWidget', name, list(extra) + [
        prop('features', flags('QDockWidget::DockWidgetClosable|QDockWidget::DockWidgetMovable')),
        prop('windowTitle', string(title)),
        attribute('dockWidgetArea', number(AREA[area])),
    ], [widget('QWidget', contents, [], [
        layout('QGridLayout', grid, [spacing(6)] + margins(*grid_margins), items)])])


# --------------------------------------------------------------------------
# Central area
# --------------------------------------------------------------------------

def min_size(w, h):
    return prop('minimumSize', size(w, h))


def max_size(w, h):
    return prop('maximumSize', size(w, h))


def central_widget():
    tools = []
    for name, tip, extra in [
        ('selectionToolBtn', 'Selection Tool (V)',
         [prop('checked', boolean(True)), prop('autoRaise', boolean(False))]),
        ('handToolBtn', 'Hand Tool (H)', []),
        ('anchorToolBtn', 'Anchor Tool (Y)', []),
        ('gravityToolBtn', 'Gravity Tool (G)', []),
        ('velocityToolBtn', 'Velocity Tool (P)', []),
    ]:
        tools.append(item(tool_button(name, tip, '', [
            min_size(30, 23), prop('checkable', boolean(True))] + extra)))

    presets = widget('QuickPresetsTableView', 'quickPresetsTable', [
        prop('sizePolicy', sizepolicy('Expanding', 'Fixed')),
        max_size(QWIDGETSIZE_MAX, 20),
        prop('focusPolicy', enum('Qt::NoFocus')),
        prop('contextMenuPolicy', enum('Qt::CustomContextMenu')),
        prop('horizontalScrollBarPolicy', enum('Qt::ScrollBarAlwaysOff')),
        prop('editTriggers', flags('QAbstractItemView::AnyKeyPressed|'
                                   'QAbstractItemView::EditKeyPressed|'
                                   'QAbstractItemView::SelectedClicked')),
        prop('tabKeyNavigation', boolean(False)),
        prop('showDropIndicator', boolean(False), stdset=False),
        prop('dragEnabled', boolean(False)),
        prop('dragDropOverwriteMode', boolean(False)),
        prop('selectionMode', enum('QAbstractItemView::ExtendedSelection')),
        prop('selectionBehavior', enum('QAbstractItemView::SelectColumns')),
        prop('showGrid', boolean(False)),
        attribute('horizontalHeaderVisible', boolean(False)),
        attribute('horizontalHeaderStretchLastSection', boolean(False)),
        attribute('verticalHeaderVisible', boolean(False)),
    ])

    row1 = layout('QHBoxLayout', 'horizontalLayout_22', [
        spacing(2), prop('sizeConstraint', enum('QLayout::SetFixedSize'))],
        tools + [
            item(spacer(10, 20, 'Fixed', 'Minimum')),
            item(label('toolsNoteSt', 'Notes Placeholder', extra=[
                prop('alignment', flags(ALIGN_RIGHT))])),
            item(spacer(40, 20, 'Expanding', 'Minimum')),
            item(presets),
            item(tool_button('addQuickPresetBtn', 'Take Scene Snapshot', '', [
                min_size(30, 23), max_size(30, QWIDGETSIZE_MAX)])),
        ])

    preview = widget('QWidget', 'simulationPreviewWidget', [
        prop('sizePolicy', sizepolicy('Expanding', 'Expanding')),
        prop('focusPolicy', enum('Qt::WheelFocus')),
    ])

    def small_button(name, tip):
        return item(tool_button(name, tip, '', [prop('iconSize', size(20, 17))]))

    zoom = layout('QHBoxLayout', 'horizontalLayout', [spacing(6)], [
        small_button('zoomOutBtn', 'Zoom Out'),
        item(widget('SliderGo', 'zoomSld', [
            prop('sizePolicy', sizepolicy('Fixed', 'Fixed')),
            min_size(90, 0),
            prop('toolTip', string('Zoom')),
            prop('minimum', number(1)),
            prop('maximum', number(2000)),
            prop('singleStep', number(1)),
            prop('value', number(250)),
            prop('orientation', enum('Qt::Horizontal')),
            prop('invertedAppearance', boolean(False)),
        ])),
        small_button('zoomInBtn', 'Zoom In'),
        small_button('zoomFitBtn', 'Best Fit Zoom'),
        small_button('bgColorBtn', 'Background Color'),
        item(widget('QPushButton', 'viewOptionsBtn', [
            prop('sizePolicy', sizepolicy('Fixed', 'Fixed')),
            min_size(40, 0), max_size(40, QWIDGETSIZE_MAX),
            prop('focusPolicy', enum('Qt::NoFocus')),
            prop('toolTip', string('View Options')),
            prop('text', string('')),
        ])),
    ])

    readout = layout('QHBoxLayout', 'horizontalLayout_23', [spacing(6)], [
        item(label('fpsSt', '00.0/25.0', extra=[
            min_size(55, 0), prop('toolTip', string('Frame Rate')),
            prop('alignment', flags(ALIGN_RIGHT))])),
        item(spacer(6, 17, 'Fixed', 'Minimum')),
        item(label('frameSt', '00000', extra=[
            min_size(40, 0),
            prop('font', el('font', children=[el('bold', text='false')])),
            prop('toolTip', string('Frame Number')),
            prop('alignment', flags(ALIGN_RIGHT))])),
        item(spacer(15, 20, 'Fixed', 'Minimum')),
    ])

    def transport_button(name, tip, checkable):
        extra = [min_size(45, 32), max_size(45, 32)]
        if checkable:
            extra.append(prop('checkable', boolean(True)))
        extra.append(prop('iconSize', size(32, 26)))
        return item(tool_button(name, tip, '', extra))

    transport = layout('QHBoxLayout', 'horizontalLayout_2', [spacing(4)], [
        transport_button('restartBtn', 'First Frame', False),
        transport_button('playBtn', 'Play/Pause', True),
        transport_button('stepBtn', 'Next Frame', False),
        transport_button('repeatBtn', 'Repeat from 0 to current frame', True),
    ])

    bottom = layout('QHBoxLayout', 'horizontalLayout_3', [spacing(0)], [
        item(zoom),
        item(spacer(30, 20, 'Expanding', 'Minimum')),
        item(readout),
        item(spacer(25, 17, 'Expanding', 'Minimum')),
        item(transport),
    ])

    row2 = layout('QVBoxLayout', 'verticalLayout', [spacing(6)], [item(preview), item(bottom)])
    column = layout('QVBoxLayout', 'verticalLayout_2', [spacing(3)] + margins(0, 0, 0, 0),
                    [item(row1), item(row2)])
    inner = widget('QWidget', 'widget', [], [
        layout('QGridLayout', 'gridLayout_2', [spacing(6)] + margins(5, 5, 5, 5),
               [item(column, 0, 0)])])
    return widget('QWidget', 'centralWidget', [], [
        layout('QGridLayout', 'gridLayout', [spacing(6)] + margins(0, 0, 0, 0),
               [item(inner, 0, 0)])])


def table_props(custom_menu, mouse_tracking):
    props = []
    if mouse_tracking:
        props.append(prop('mouseTracking', boolean(True)))
    props.append(prop('focusPolicy', enum('Qt::NoFocus')))
    if custom_menu:
        props.append(prop('contextMenuPolicy', enum('Qt::CustomContextMenu')))
    props += [
        prop('editTriggers', flags('QAbstractItemView::NoEditTriggers')),
        prop('tabKeyNavigation', boolean(False)),
        prop('selectionBehavior', enum('QAbstractItemView::SelectRows')),
        prop('verticalScrollMode', enum('QAbstractItemView::ScrollPerPixel')),
        prop('horizontalScrollMode', enum('QAbstractItemView::ScrollPerPixel')),
        prop('showGrid', boolean(False)),
        attribute('horizontalHeaderHighlightSections', boolean(False)),
        attribute('horizontalHeaderStretchLastSection', boolean(True)),
        attribute('verticalHeaderVisible', boolean(False)),
    ]
    return props


def bodies_dock():
    table = widget('BodiesTableView', 'bodiesTable', table_props(True, True))
    return dock('bodiesDockWidget', 'Bodies', 'bottom', 'dockWidgetContents', 'gridLayout_5',
                (0, 0, 0, 0), [item(table, 0, 0)])


def history_dock():
    return dock('actionsHistoryDockWidget', 'Actions History', 'right', 'dockWidgetContents_6',
                'gridLayout_18', (0, 2, 0, 0), [])


def info_dock():
    items = [
        item(label('mouseCoordsSt', '', extra=[prop('alignment', flags(ALIGN_TOP_LEFT))]), 0, 0),
        item(widget('QFrame', 'hLine', [prop('frameShape', enum('QFrame::HLine')),
                                        prop('frameShadow', enum('QFrame::Sunken'))]), 1, 0),
        item(label('infoSt', '', extra=[
            prop('sizePolicy', sizepolicy('Preferred', 'Preferred')),
            prop('alignment', flags(ALIGN_TOP_LEFT)),
            prop('wordWrap', boolean(True))]), 2, 0),
        item(spacer(20, 40, 'Minimum', 'Expanding'), 3, 0),
    ]
    return dock('infoDockWidget', 'Info', 'right', 'dockWidgetContents_1', 'gridLayout_4',
                (11, 11, 11, 11), items)


def joints_dock():
    def add(name, tip):
        return item(tool_button(name, tip, '', [min_size(30, 23)]))

    buttons = layout('QHBoxLayout', 'horizontalLayout_29', [spacing(6)], [
        item(spacer(3, 17, 'Fixed', 'Minimum')),
        add('addDistanceJointBtn', 'Add Distance Joint'),
        add('addRevoluteJointBtn', 'Add Pivot Joint'),
        add('addPrismaticJointBtn', 'Add Piston Joint'),
        add('addSpringJointBtn', 'Add Spring Joint'),
        item(spacer(40, 20, 'Expanding', 'Minimum')),
        add('removeJointBtn', 'Remove Joint'),
        item(spacer(3, 17, 'Fixed', 'Minimum')),
    ])
    table = widget('QTableView', 'jointsTable', table_props(False, False))
    column = layout('QVBoxLayout', 'verticalLayout_5', [spacing(3)],
                    [item(buttons), item(table)])
    return dock('jointsDockWidget', 'Joints', 'bottom', 'dockWidgetContents_11', 'gridLayout_8',
                (0, 2, 0, 0), [item(column, 0, 0)])


def export_dock():
    def frame_box(name):
        return widget('QSpinBox', name, [
            prop('sizePolicy', sizepolicy('Preferred', 'Fixed')),
            min_size(55, 23), max_size(55, 23),
            prop('buttonSymbols', enum('QAbstractSpinBox::NoButtons')),
            prop('minimum', number(0)),
            prop('maximum', number(QWIDGETSIZE_MAX)),
            prop('value', number(0)),
        ])

    frames = layout('QHBoxLayout', 'horizontalLayout_25', [spacing(6)], [
        item(label('label_6', 'Start Frame:', extra=[prop('alignment', flags(ALIGN_RIGHT))])),
        item(frame_box('startFrameEt')),
        item(spacer(12, 20, 'Fixed', 'Minimum')),
        item(label('label_7', 'End Frame:', extra=[prop('alignment', flags(ALIGN_RIGHT))])),
        item(frame_box('endFrameEt')),
        item(spacer(61, 14, 'Expanding', 'Minimum')),
    ])
    grow = prop('sizePolicy', sizepolicy('Expanding', 'Fixed'))
    rows = [
        item(frames, 0, 0, colspan=2),
        item(widget('QCheckBox', 'applyToNewCompCb', [
            grow, prop('text', string('Apply to New Composition')),
            prop('checked', boolean(True))]), 1, 0, colspan=2),
        item(widget('QCheckBox', 'enableMotionBlurCb', [
            grow, prop('text', string('Enable Motion Blur')),
            prop('checked', boolean(False))]), 2, 0),
        item(widget('QToolButton', 'exportBtn', [
            grow, min_size(68, 20), prop('toolTip', string('')),
            prop('text', string('Render')), prop('checkable', boolean(True)),
            prop('iconSize', size(32, 26))]), 5, 0, colspan=2),
        item(widget('QProgressBar', 'progressBar', [
            grow, max_size(QWIDGETSIZE_MAX, 7), prop('value', number(0)),
            prop('textVisible', boolean(False))]), 6, 0, colspan=2),
        item(label('exportNoteSt', 'Note Placeholder', extra=[
            prop('sizePolicy', sizepolicy('Expanding', 'Preferred')),
            min_size(115, 0), prop('alignment', flags(ALIGN_LEFT))]), 7, 0, colspan=2),
    ]
    contents = widget('QWidget', 'scrollAreaWidgetContents_4', [prop('geometry', rect(0, 0, 525, 194))], [
        layout('QFormLayout', 'formLayout_8', [
            prop('fieldGrowthPolicy', enum('QFormLayout::AllNonFixedFieldsGrow')),
            spacing(6)] + margins(11, 11, 11, 11), rows)])
    area = widget('QScrollArea', 'scrollArea_4', [
        min_size(280, 0), prop('widgetResizable', boolean(True))], [contents])
    return dock('exportDockWidget', 'Export', 'bottom', 'dockWidgetContents_3', 'gridLayout_11',
                (0, 0, 0, 0), [item(area, 0, 0)])


# --------------------------------------------------------------------------
# Property panels
# --------------------------------------------------------------------------

def reset_button(name, enabled):
    return widget('QToolButton', name, disabled(enabled) + [
        max_size(12, 12),
        prop('toolTip', string('Reset Property')),
        prop('text', string('')),
        prop('iconSize', size(6, 6)),
    ])


# tab, row, label, label text, property, edit-box min, max, decimals, step,
# initial, slider min, max, step, page, initial, reset button, edit-box class,
# minimum edit-box width
NUMERIC_ROWS = [
    ('Gravity', 0, 'label_4', 'Magnitude:', 'gravityMagnitude', 0, M, 3, 1, 10.0, 0, 50000, 1, 10, 10000, 'resetGravityMagnitudeBtn'),
    ('Gravity', 1, 'label_5', 'Direction:', 'gravityDirection', -M, M, 3, 1, 90.0, 0, 360000, 1, 10, 90000, 'resetGravityDirectionBtn'),
    ('Solver', 0, 'label', 'Time Divider:', 'timeDivider', 0.01, M, 3, 0.1, 1.0, 1, 5000, 1, 10, 1000, 'resetTimeDividerBtn'),
    ('Solver', 1, 'label_3', 'Sub-steps:', 'substeps', 0, 10, 0, 1, 2, 1, 10, 1, 1, 2, 'resetSubsteppingBtn'),
    ('Solver', 2, 'label_2', 'Collision Tolerance:', 'collisionTolerance', 0.001, M, 3, 1, 50.0, 1, 100000, 1, 10, 50000, 'resetToleranceBtn'),
    ('General', 1, 'densitySt', 'Density:', 'density', 0.001, M, 3, 1, 1.0, 0, 10000, 5, 10, 1000, 'resetDensityBtn'),
    ('General', 2, 'frictionSt', 'Friction:', 'friction', 0, M, 3, 0.1, 0.5, 0, 1000, 1, 10, 500, 'resetFrictionBtn'),
    ('General', 3, 'bouncinessSt', 'Bounciness:', 'bounciness', 0, M, 3, 0.1, 0.3, 0, 1000, 1, 10, 300, 'resetBouncinessBtn'),
    ('General', 5, 'meshPrecisionSt', 'Mesh Precision:', 'meshPrecision', 0, 10, 0, 1, 2, 1, 10, 1, 1, 2, 'resetMeshPrecisionBtn'),
    ('General', 6, 'velocityMagnitudeSt', 'Velocity Magnitude:', 'velocityMagnitude', 0, M, 3, 1, 0, 0, 50000, 1, 10, 0, 'resetVelocityMagnitudeBtn'),
    ('General', 7, 'velocityDirectionSt', 'Velocity Direction:', 'velocityDirection', -M, M, 3, 1, 0, 0, 360000, 1, 10, 0, 'resetVelocityDirectionBtn'),
    ('General', 8, 'angularVelocitySt', 'Angular Velocity:', 'angularVelocity', -M, M, 3, 1, 0, -5000, 5000, 1, 10, 0, 'resetAngularVelocityBtn'),
    ('General', 9, 'linearDampingSt', 'Linear Damping:', 'linearDamping', 0, M, 3, 0.1, 0, 0, 1000, 1, 10, 0, 'resetLinearDampingBtn'),
    ('General', 10, 'angularDampingSt', 'Angular Damping:', 'angularDamping', 0, M, 3, 0.1, 0, 0, 1000, 1, 10, 0, 'resetAngularDampingBtn'),
    ('General', 11, 'aematicDampingSt', 'AEmatic Damping:', 'aematicDamping', 0, M, 3, 0.1, 0.5, 0, 1000, 1, 10, 500, 'resetAEmaticDampingBtn'),
    ('General', 12, 'aematicTensionSt', 'AEmatic Tension:', 'aematicTension', 0.01, M, 3, 1, 1.0, 10, 3000, 1, 10, 1000, 'resetAEmaticTensionBtn'),
    ('Advanced', 3, 'gravityScaleSt', 'Gravity Scale:', 'gravityScale', -M, M, 3, 1, 1.0, -2000, 2000, 1, 10, 1000, 'resetGravityScaleBtn'),
    ('Advanced', 7, 'magnetIntensitySt', 'Magnet Intensity:', 'magnetIntensity', 0, M, 3, 1, 10.0, 0, 2500000, 1, 10, 10000, 'resetMagnetIntensityBtn'),
    ('Advanced', 8, 'magnetDistanceSt', 'Magnet Distance:', 'magnetDistance', 0, M, 3, 1, 100.0, 0, 1000000, 1, 1, 100000, 'resetMagnetDistanceBtn'),
    ('Distance', 0, 'distanceJointFrequencySt', 'Tension (0=auto):', 'distanceJointFrequency', 0, M, 3, 0.1, 0, 0, 10000, 1, 10, 0, 'resetDistanceJointFrequencyBtn'),
    ('Distance', 1, 'distanceJointDampingSt', 'Damping:', 'distanceJointDamping', -M, M, 3, 0.1, 0, 0, 1000, 1, 10, 0, 'resetDistanceJointDampingBtn'),
    ('Pivot', 1, 'revoluteJointLowerAngleSt', 'Lower Angle:', 'revoluteJointLowerAngle', -M, 0, 3, 1, 0, -180000, 0, 1, 10, 0, 'resetRevoluteJointLowerAngleBtn'),
    ('Pivot', 2, 'revoluteJointUpperAngleSt', 'Upper Angle:', 'revoluteJointUpperAngle', 0, M, 3, 1, 0, 0, 180000, 1, 10, 0, 'resetRevoluteJointUpperAngleBtn'),
    ('Pivot', 4, 'revoluteJointMotorSpeedSt', 'Motor Speed:', 'revoluteJointMotorSpeed', -M, M, 3, 0.5, 0, -5000, 5000, 1, 10, 0, 'resetRevoluteJointMotorSpeedBtn'),
    ('Pivot', 5, 'revoluteJointMaxMotorTorqueSt', 'Max Motor Torque:', 'revoluteJointMaxMotorTorque', 0, M, 3, 1, 0, 0, 100000, 1, 10, 0, 'resetRevoluteJointMaxMotorTorqueBtn'),
    ('Piston', 1, 'prismaticJointLowerTranslationSt', 'Lower Translation:', 'prismaticJointLowerTranslation', -M, M, 3, 1, 0, -10000, 0, 1, 10, 0, 'resetPrismaticJointLowerTranslationBtn'),
    ('Piston', 2, 'prismaticJointUpperTranslationSt', 'Upper Translation:', 'prismaticJointUpperTranslation', -M, M, 3, 1, 0, 0, 10000, 1, 10, 0, 'resetPrismaticJointUpperTranslationBtn'),
    ('Piston', 4, 'prismaticJointMotorSpeedSt', 'Motor Speed:', 'prismaticJointMotorSpeed', -M, M, 3, 0.1, 0, -5000, 5000, 1, 10, 0, 'resetPrismaticJointMotorSpeedBtn'),
    ('Piston', 5, 'prismaticJointMaxMotorForceSt', 'Max Motor Force:', 'prismaticJointMaxMotorForce', 0, M, 3, 0.1, 0, 0, 10000, 1, 10, 0, 'resetPrismaticJointMaxMotorForceBtn'),
    ('Spring', 0, 'springJointSpringinessSt', 'Springiness:', 'springJointSpringiness', 0, M, 3, 0.1, 1.0, 0, 2000, 1, 10, 1000, 'resetSpringJointSpringinessBtn'),
    ('Spring', 1, 'springJointDampingSt', 'Damping:', 'springJointDamping', 0, M, 3, 0.1, 0.5, 0, 1000, 1, 10, 500, 'resetSpringJointDampingBtn'),
    ('Spring', 2, 'springJointDesiredLengthSt', 'Desired Length:', 'springJointDesiredLength', 0, M, 3, 0.1, 1.0, 0, 5000, 1, 10, 1000, 'resetSpringJointDesiredLengthBtn'),
]

NARROW_EDIT_BOXES = {'angularVelocity', 'linearDamping', 'angularDamping', 'aematicDamping',
                     'aematicTension'}
PLAIN_EDIT_BOXES = {'velocityDirection'}
GLOBAL_TABS = {'Gravity', 'Solver'}


def numeric_row(tab, row, lbl, text, p, emin, emax, dec, step, init,
                smin, smax, sstep, spage, sinit, reset):
    enabled = tab in GLOBAL_TABS
    cls = 'QDoubleSpinBox' if p in PLAIN_EDIT_BOXES else 'EditBox'
    width = 53 if p in NARROW_EDIT_BOXES else 55
    edit = widget(cls, p + 'Et', disabled(enabled) + [
        prop('sizePolicy', sizepolicy('Fixed', 'Fixed')),
        min_size(width, 23), max_size(55, 23),
        prop('alignment', flags(ALIGN_RIGHT)),
        prop('buttonSymbols', enum('QAbstractSpinBox::NoButtons')),
        prop('correctionMode', enum('QAbstractSpinBox::CorrectToNearestValue')),
        prop('decimals', number(dec)),
        prop('minimum', double(emin)),
        prop('maximum', double(emax)),
        prop('singleStep', double(step)),
        prop('value', double(init)),
    ])
    slider = widget('SliderGo', p + 'Sld', disabled(enabled) + [
        prop('minimum', number(smin)),
        prop('maximum', number(smax)),
        prop('singleStep', number(sstep)),
        prop('pageStep', number(spage)),
        prop('value', number(sinit)),
        prop('orientation', enum('Qt::Horizontal')),
    ])
    fields = layout('QHBoxLayout', p + 'Layout', [spacing(6)], [
        item(edit), item(slider), item(reset_button(reset, enabled))])
    return row, [item(label(lbl, text, enabled), row, 0), item(fields, row, 1)]


def check_box(name, text, checked, enabled, expanding=False):
    props = disabled(enabled)
    if expanding:
        props.append(prop('sizePolicy', sizepolicy('Expanding', 'Fixed')))
    props.append(prop('text', string(text)))
    props.append(prop('checked', boolean(checked)))
    return widget('QCheckBox', name, props)


def combo_box(name, items, enabled, current=None):
    props = disabled(enabled) + [prop('sizePolicy', sizepolicy('Expanding', 'Fixed'))]
    if current is not None:
        props.append(prop('currentIndex', number(current)))
    children = [el('item', children=[prop('text', string(t))]) for t in items]
    return widget('QComboBox', name, props, children)


def row_layout(name, widgets, row_spacing=6):
    return layout('QHBoxLayout', name, [spacing(row_spacing)], [item(w) for w in widgets])


def body_rows():
    """Rows of the General and Advanced tabs that are not numeric rows."""
    off = False
    general = [
        (0, item(label('typeSt', 'Type:', off), 0, 0)),
        (0, item(layout('QHBoxLayout', 'typeLayout', [spacing(2)], [
            item(combo_box('typeLst', ['Static', 'Kinematic', 'Dynamic', 'Dormant', 'AEmatic',
                                       'Dead'], off, current=2)),
            item(reset_button('resetTypeBtn', off))]), 0, 1)),
        (4, item(label('colorSt', 'Color:', off), 4, 0)),
        (4, item(layout('QHBoxLayout', 'colorLayout', [spacing(6)], [
            item(widget('QToolButton', 'colorBtn', disabled(off) + [
                min_size(55, 0), max_size(55, QWIDGETSIZE_MAX),
                prop('text', string('')), prop('checkable', boolean(True))])),
            item(spacer(78, 20, 'Expanding', 'Minimum')),
            item(reset_button('resetBodyColorBtn', off))]), 4, 1)),
    ]
    collide = [check_box('collideWith%sCb' % g, g, True, off) for g in 'ABCDE']
    advanced = [
        (0, item(label('collisionGroupSt', 'Collision Group:', off), 0, 0)),
        (0, item(row_layout('collisionGroupLayout', [
            combo_box('collisionGroupLst', ['Group A', 'Group B', 'Group C', 'Group D',
                                            'Group E'], off),
            reset_button('resetCollisionGroupBtn', off)]), 0, 1)),
        (1, item(label('collideWithSt', 'Collide With:', off), 1, 0)),
        (1, item(layout('QHBoxLayout', 'collideWithLayout', [spacing(0)],
                        [item(c) for c in collide] + [
                            item(spacer(40, 20, 'Expanding', 'Minimum')),
                            item(reset_button('resetCollideWithBtn', off))]), 1, 1)),
        (2, item(label('fixedRotationSt', 'Fixed Rotation:', off), 2, 0)),
        (2, item(row_layout('fixedRotationLayout', [
            check_box('fixedRotationCb', 'Enable', False, off, expanding=True),
            reset_button('resetFixedRotationBtn', off)]), 2, 1)),
        (4, item(label('useConvexHullSt', 'Use Convex Hull:', off), 4, 0)),
        (4, item(row_layout('useConvexHullLayout', [
            check_box('useConvexHullCb', 'Enable', False, off, expanding=True),
            reset_button('resetUseConvexHullBtn', off)]), 4, 1)),
        (6, item(label('magnetismTypeSt', 'Magnetism Type:', off), 6, 0)),
        (6, item(row_layout('magnetismTypeLayout', [
            combo_box('magnetismTypeLst', ['None', 'Attraction', 'Repulsion'], off),
            reset_button('resetMagnetismTypeBtn', off)]), 6, 1)),
        (9, item(row_layout('acceptMagnetismLayout', [
            check_box('acceptMagnetismCb', 'Accept Magnetism', False, off, expanding=True),
            reset_button('resetAcceptMagnetismBtn', off)]), 9, 1)),
    ]
    return {'General': general, 'Advanced': advanced}


# tab, row, check box, text, checked, reset button, spacer width
JOINT_FLAG_ROWS = [
    ('Distance', 2, 'distanceJointCollideConnected', 'Collide Connected', True, 116),
    ('Pivot', 0, 'revoluteJointEnableLimit', 'Enable Limit', False, 128),
    ('Pivot', 3, 'revoluteJointEnableMotor', 'Enable Motor', False, 128),
    ('Pivot', 6, 'revoluteJointCollideConnected', 'Collide Connected', True, 128),
    ('Piston', 0, 'prismaticJointEnableLimit', 'Enable Limit', False, 128),
    ('Piston', 3, 'prismaticJointEnableMotor', 'Enable Motor', False, 128),
    ('Piston', 6, 'prismaticJointCollideConnected', 'Collide Connected', True, 128),
]


def joint_flag_rows():
    rows = {}
    for tab, row, p, text, checked, gap in JOINT_FLAG_ROWS:
        reset = 'reset' + p[0].upper() + p[1:] + 'Btn'
        rows.setdefault(tab, []).append((row, item(layout('QHBoxLayout', p + 'Layout', [spacing(6)], [
            item(check_box(p + 'Cb', text, checked, False)),
            item(spacer(gap, 20, 'Expanding', 'Minimum')),
            item(reset_button(reset, False))]), row, 1)))
    return rows


def gravity_rows():
    pad = widget('QWidget', 'gravityWidget', [
        prop('sizePolicy', sizepolicy('Fixed', 'Fixed')), min_size(100, 100)])
    buttons = layout('QVBoxLayout', 'verticalLayout_3', [spacing(6)] + margins(3, 0, 0, 0), [
        item(widget('QToolButton', 'captureGravityBtn', [
            min_size(68, 0), prop('text', string('Capture')), prop('checkable', boolean(True))])),
        item(widget('QToolButton', 'applyGravityBtn', [
            prop('enabled', boolean(False)), min_size(68, 0), prop('text', string('Apply'))])),
        item(spacer(20, 10, 'Minimum', 'Expanding')),
        item(widget('QCheckBox', 'gravityLayerCb', [
            prop('toolTip', string('')), prop('text', string('Inherit From:')),
            prop('checked', boolean(False))])),
        item(widget('QComboBox', 'gravityLayerLst', [prop('enabled', boolean(False))])),
    ])
    row = layout('QHBoxLayout', 'horizontalLayout_30', [spacing(6)], [
        item(pad), item(spacer(5, 20, 'Fixed', 'Minimum')), item(buttons)])
    return [(2, item(row, 2, 1)), (3, item(spacer(20, 40, 'Minimum', 'Expanding'), 3, 1))]


# tab title, page, scroll area, horizontal scroll bar off, contents, form layout,
# margins, all non-fixed fields grow, page layout
TABS = {
    'Gravity': ('tab_2', 'scrollArea_2', True, 'scrollAreaWidgetContents_2', 'formLayout_4', 11, True, 'gravityPageLayout'),
    'Solver': ('tab', 'scrollArea_3', False, 'scrollAreaWidgetContents_3', 'formLayout_7', 11, False, 'solverPageLayout'),
    'General': ('propertiesTabWidgetPage3_2', 'scrollArea_5', True, 'scrollAreaWidgetContents_5', 'formLayout_2', 9, True, 'generalPageLayout'),
    'Advanced': ('propertiesTabWidgetPage6_2', 'scrollArea_8', True, 'scrollAreaWidgetContents_8', 'formLayout_6', 11, True, 'advancedPageLayout'),
    'Distance': ('propertiesTabWidgetPage4', 'scrollArea_7', True, 'scrollAreaWidgetContents_7', 'formLayout_5', 11, False, 'distancePageLayout'),
    'Pivot': ('propertiesTabWidgetPage6', 'scrollArea', True, 'scrollAreaWidgetContents', 'formLayout', 11, False, 'pivotPageLayout'),
    'Piston': ('tab_3', 'scrollArea_9', True, 'scrollAreaWidgetContents_9', 'formLayout_9', 11, False, 'pistonPageLayout'),
    'Spring': ('propertiesTabWidgetPage5', 'scrollArea_6', True, 'scrollAreaWidgetContents_6', 'formLayout_3', 11, False, 'springPageLayout'),
}


def tab_page(title, rows):
    page, area, hbar_off, contents, form, margin, grow, page_layout = TABS[title]
    rows = sorted(rows, key=lambda r: r[0])
    form_props = []
    if grow:
        form_props.append(prop('fieldGrowthPolicy', enum('QFormLayout::AllNonFixedFieldsGrow')))
    form_props += [spacing(6)] + margins(margin, margin, margin, margin)
    area_props = []
    if hbar_off:
        area_props.append(prop('horizontalScrollBarPolicy', enum('Qt::ScrollBarAlwaysOff')))
    area_props.append(prop('widgetResizable', boolean(True)))
    inner = widget('QWidget', contents, [prop('geometry', rect(0, 0, 280, 420))], [
        layout('QFormLayout', form, form_props, [r[1] for r in rows])])
    return widget('QWidget', page, [attribute('title', string(title))], [
        layout('QGridLayout', page_layout, margins(0, 0, 0, 0), [
            item(widget('QScrollArea', area, area_props, [inner]), 0, 0)])])


def tab_widget(name, titles, rows, min_width=None, joint_style=False):
    props = []
    if min_width:
        props.append(min_size(min_width, 0))
    if joint_style:
        props += [prop('tabPosition', enum('QTabWidget::North')),
                  prop('usesScrollButtons', boolean(False)),
                  prop('documentMode', boolean(False)),
                  prop('movable', boolean(False))]
    props.append(prop('currentIndex', number(0)))
    return widget('QTabWidget', name, props, [tab_page(t, rows.get(t, [])) for t in titles])


def panel_rows():
    rows = {}
    for r in NUMERIC_ROWS:
        row, items = numeric_row(*r)
        rows.setdefault(r[0], []).extend((row, i) for i in items)
    for tab, extra in list(body_rows().items()) + list(joint_flag_rows().items()):
        rows.setdefault(tab, []).extend(extra)
    rows.setdefault('Gravity', []).extend(gravity_rows())
    return rows


def property_docks(rows):
    glob = dock('globalPropertiesDockWidget', 'Global Properties', 'right', 'dockWidgetContents_4',
                'gridLayout_7', (0, 0, 0, 0), [item(tab_widget(
                    'globalPropertiesTabWidget', ['Gravity', 'Solver'], rows, 285), 0, 0)])
    body = dock('bodyPropertiesDockWidget', 'Body Properties', 'left', 'dockWidgetContents_2',
                'gridLayout_13', (0, 0, 0, 0), [item(tab_widget(
                    'bodyPropertiesTabWidget', ['General', 'Advanced'], rows, 280, True), 0, 0)])
    joint = dock('jointPropertiesDockWidget', 'Joint Properties', 'left', 'dockWidgetContents_5',
                 'gridLayout_3', (0, 0, 0, 0), [item(tab_widget(
                     'jointPropertiesTabWidget', ['Distance', 'Pivot', 'Piston', 'Spring'], rows,
                     None, True), 0, 0)], extra=[min_size(226, 120)])
    return glob, body, joint


# --------------------------------------------------------------------------
# The window
# --------------------------------------------------------------------------

def menu_bar():
    menus = []
    for name, title, entries in MENUS:
        menus.append(widget('QMenu', name, [prop('title', string(title))],
                            [el('addaction', {'name': e}) for e in entries]))
    return widget('QMenuBar', 'menuBar', [prop('geometry', rect(0, 0, 1306, 21))],
                  menus + [el('addaction', {'name': m}) for m in MENU_BAR])


def form():
    rows = panel_rows()
    glob, body, joint = property_docks(rows)
    window = widget('QMainWindow', 'ZolvarDlgClass', [
        prop('geometry', rect(0, 0, 1306, 850)),
        prop('locale', el('locale', {'language': 'English', 'country': 'UnitedStates'})),
        prop('windowTitle', string('ZolvarDlgClass')),
    ], [
        central_widget(),
        bodies_dock(),
        history_dock(),
        glob,
        info_dock(),
        body,
        joints_dock(),
        export_dock(),
        menu_bar(),
        joint,
    ] + [action(*a) for a in ACTIONS])

    customs = el('customwidgets', children=[
        el('customwidget', children=[el('class', text=cls), el('extends', text=base),
                                     el('header', text=header)])
        for cls, base, header in [
            ('SliderGo', 'QSlider', 'properties/SliderGo.h'),
            ('EditBox', 'QDoubleSpinBox', 'properties/EditBox.h'),
            ('BodiesTableView', 'QTableView', 'properties/BodiesTableView.h'),
            ('QuickPresetsTableView', 'QTableView', 'properties/QuickPresetsTableView.h'),
        ]])
    return el('ui', {'version': '4.0'}, [
        el('class', text='ZolvarDlgClass'),
        window,
        el('layoutdefault', {'spacing': 6, 'margin': 11}),
        customs,
        el('resources'),
        el('connections'),
    ])


def name_spacers(root):
    counts = {}
    for s in root.iter('spacer'):
        base = s.get('name')
        n = counts.get(base, 0)
        counts[base] = n + 1
        s.set('name', base if n == 0 else '%s_%d' % (base, n))


def main():
    root = form()
    name_spacers(root)
    tree = ET.ElementTree(root)
    ET.indent(tree, space=' ')
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, '..', 'ZolvarDlg.ui')
    with open(out, 'wb') as f:
        f.write(b'<?xml version="1.0" encoding="UTF-8"?>\n')
        tree.write(f, encoding='utf-8', xml_declaration=False)
        f.write(b'\n')


if __name__ == '__main__':
    main()
