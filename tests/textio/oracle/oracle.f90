! Test-only reference: the same cases as oracle_driver, through gfortran's
! own formatted and free-format I/O.  Never linked into a product.
program oracle
  implicit none
  character(len=512) :: wname, lname, fname, line
  character(len=40) :: d, f
  integer :: ios, b, iv, k
  real :: x

  call get_command_argument(1, wname)
  call get_command_argument(2, lname)
  call get_command_argument(3, fname)

  ! writes: "R desc HEX" (real), "N desc INT" (integer), "L HEX", "M INT"
  open(1, file=trim(wname), status='old')
  do
    read(1, '(a)', iostat=ios) line
    if (ios /= 0) exit
    if (line(1:1) == 'R' .or. line(1:1) == 'N') then
      k = index(line(3:), ' ') + 2
      d = line(3:k-1)
      f = '(a,' // trim(d) // ',a)'
      if (line(1:1) == 'R') then
        read(line(k+1:), '(z8)') b
        x = transfer(b, x)
        write(*, f) '|', x, '|'
      else
        read(line(k+1:), *) iv
        write(*, f) '|', iv, '|'
      end if
    else if (line(1:1) == 'L') then
      read(line(3:), '(z8)') b
      x = transfer(b, x)
      write(*, *) x
    else if (line(1:1) == 'M') then
      read(line(3:), *) iv
      write(*, *) iv
    end if
  end do
  close(1)

  ! free-format reads: one real per record
  open(2, file=trim(lname), status='old')
  do
    x = 0.0
    read(2, *, iostat=ios) x
    if (ios < 0) exit
    call result(ios, x)
  end do
  close(2)

  ! fixed-field reads: (f10.0) per record
  open(3, file=trim(fname), status='old')
  do
    x = 0.0
    read(3, '(f10.0)', iostat=ios) x
    if (ios < 0) exit
    call result(ios, x)
  end do
  close(3)

contains

  subroutine result(ios, x)
    integer, intent(in) :: ios
    real, intent(in) :: x
    if (ios == 0) then
      write(*, '(a,z8.8)') 'ok ', transfer(x, 0)
    else
      write(*, '(a)') 'error'
    end if
  end subroutine

end program
