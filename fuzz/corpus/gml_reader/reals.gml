graph [
  node [ id 0 graphics [ x 1.5e+10 y -2. w 7E3 h +1.797693134e308 lineWidth -3.4e38 ] ]
  node [ id 1 graphics [ x inf y nan ] ]
]
